#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// One SMTP reply: its code and its lines, made printable ("250-SIZE 1000", "250 OK").
struct SmtpReply {
  int code = 0;
  QStringList lines;
  QString text() const { return lines.join(u'\n'); }
};

// Takes SMTP replies out of the bytes a server has sent so far. A line holds at most 512
// bytes with its CR LF, a reply at most 100 lines, every line "ddd-" but the last "ddd "
// (or "ddd"), all with one code of 200 or more. Nothing the server sends can make it keep
// more than one reply's worth of bytes.
class SmtpReplyReader {
 public:
  enum class Result {
    NeedMore,  // no whole reply yet: append what arrives next
    Complete,  // a reply was taken
    TooLong,   // a line or a reply past its limit
    Unknown,   // a line SMTP does not know; offending holds it, printable
  };

  void append(const QByteArray& bytes) { m_input.append(bytes); }
  // Takes the next reply when it has arrived whole.
  Result take(SmtpReply* reply, QString* offending = nullptr);
  // Bytes that arrived after the last reply taken.
  bool hasPending() const { return !m_input.isEmpty(); }
  void clear() { m_input.clear(); }

 private:
  QByteArray m_input;
};

// A server's words as they may be shown: printable, at most one line's length.
QString PrintableServerText(const QByteArray& line);
