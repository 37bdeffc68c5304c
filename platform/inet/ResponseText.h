#pragma once

#include <QByteArray>
#include <QString>

// The service answers in lines of key, "=" and value, each ended by CR LF.

// The value after the first occurrence of key (which includes its "="), up to the line's
// end (CR LF, or a bare LF); to the end of the text when no line feed follows.
// Empty when the key does not occur.
QString GetResponseValue(const QString& text, const QString& key);

// Removes the first line (up to and including its line feed) from text and returns it;
// without a line feed the whole text is the line and text becomes empty.
QString NextResponseLine(QString& text);

// The block without its zero bytes, the others in their order.
QByteArray RemoveZeroBytes(const QByteArray& block);

// A number in an answer: decimal, anything else (or nothing) counts as 0.
qint64 ResponseNumber(const QString& value);
