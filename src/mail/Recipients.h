#pragma once

#include <QString>
#include <QStringList>

// The friends' addresses as typed: separated by ";". Each address is trimmed; a last
// address without its closing ";" counts too, and empty pieces are skipped.
QStringList SplitRecipients(const QString& text);

// The friends' text with the address book's choice (each address followed by ";")
// added, with a ";" between when the text does not end in one.
QString AppendRecipients(const QString& text, const QString& chosen);
