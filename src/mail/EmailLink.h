#pragma once

#include <QString>

class FeatureHost;

// Mails a link to a published photo or album page: asks for the outgoing server the
// first time, then opens the e-mail dialog; the own address is remembered once sent.
// kind: "photo" or "photo album".
void SendLinkByEmail(FeatureHost& host, const QString& link, const QString& kind);
