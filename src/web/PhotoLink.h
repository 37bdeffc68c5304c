#pragma once

#include <QString>

class FeatureHost;

// The address of one published photo's page, for friends: the photo's file stem with
// each "&&" (a "&" of its name) sent as one encoded "&".
QString PhotoLinkAddress(const QString& webSiteHost, const QString& userId, const QString& stem);

// Photo > Email This Photo: mails the selected photo's link; stem is empty when no
// photo is selected.
void EmailPhotoLink(FeatureHost& host, const QString& stem);
