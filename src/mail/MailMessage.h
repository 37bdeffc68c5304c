#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

// One e-mail: bare addresses (local@domain), a one-line subject, the text and, when not
// empty, the same message as HTML.
struct MailMessage {
  QString from;
  QString to;
  QString subject;
  QString text;
  QString html;
};

// The basic local@domain form: one "@", both parts non-empty, no blanks, no "<", ">"
// or control characters, at most 254 characters.
bool IsMailAddress(const QString& address);

// What makes the message unfit to go out (a header that would break into two lines, an
// address that is not one), or an empty text when it is fine.
QString HeaderProblem(const MailMessage& message);

// "<random@domain of the sender>".
QByteArray MakeMessageId(const QString& from);

// What goes after DATA, before dot-stuffing: headers and a MIME body (UTF-8,
// quoted-printable), lines ending in CR LF.
QByteArray ComposeMessage(const MailMessage& message, const QDateTime& date,
                          const QByteArray& messageId);
QByteArray ComposeMessage(const MailMessage& message);

// The message as it goes on the wire after DATA: every line that begins with "." gets
// another one, the last line is ended, and ".\r\n" closes it.
QByteArray DataTransfer(const QByteArray& composed);

// Pieces of the composition, for the tests.
QByteArray Rfc5322Date(const QDateTime& date);
QByteArray EncodedSubjectField(const QString& subject);
QByteArray QuotedPrintable(const QString& text);
