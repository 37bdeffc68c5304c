#include "MailMessage.h"

#include <QCryptographicHash>
#include <QRandomGenerator>

namespace {

const char* const kCrLf = "\r\n";
// Header lines are kept shorter than this, as RFC 5322 recommends.
constexpr int kFoldWidth = 78;
// UTF-8 bytes per encoded word, so that " =?UTF-8?B?...?=" stays under kFoldWidth.
constexpr int kWordBytes = 42;
constexpr int kQpWidth = 76;

bool IsAscii(const QString& text) {
  for (QChar c : text)
    if (c.unicode() >= 0x7f || (c.unicode() < 0x20 && c != u'\t')) return false;
  return true;
}

bool HasLineBreak(const QString& text) { return text.contains(u'\r') || text.contains(u'\n'); }

// Folds an ASCII field at blanks so that lines stay under kFoldWidth where words allow.
QByteArray FoldAscii(const QByteArray& field) {
  QByteArray out;
  qsizetype lineStart = 0;
  while (field.size() - lineStart >= kFoldWidth) {
    qsizetype lastBlank = -1;
    for (qsizetype i = lineStart + kFoldWidth - 1; i > lineStart; --i)
      if (field[i] == ' ') {
        lastBlank = i;
        break;
      }
    if (lastBlank < 0) break;
    out += field.mid(lineStart, lastBlank - lineStart) + kCrLf;
    lineStart = lastBlank;
  }
  return out + field.mid(lineStart);
}

QByteArray Boundary(const QByteArray& messageId) {
  // "=_" never occurs in quoted-printable text, so the parts cannot contain it.
  return "=_brivane_" +
         QCryptographicHash::hash(messageId, QCryptographicHash::Sha1).toHex().left(24);
}

QByteArray TextPart(const QString& text, const char* type) {
  return QByteArray("Content-Type: ") + type + "; charset=utf-8" + kCrLf +
         "Content-Transfer-Encoding: quoted-printable" + kCrLf + kCrLf + QuotedPrintable(text);
}

}  // namespace

bool IsMailAddress(const QString& address) {
  const qsizetype at = address.indexOf(u'@');
  // 254: the longest address a server's path (256 with the brackets) can carry.
  if (address.size() > 254 || at <= 0 || at == address.size() - 1 ||
      address.indexOf(u'@', at + 1) >= 0)
    return false;
  for (QChar c : address)
    if (c.isSpace() || c == u'<' || c == u'>' || c.unicode() < 0x20 || c.unicode() == 0x7f)
      return false;
  return true;
}

QString HeaderProblem(const MailMessage& message) {
  if (HasLineBreak(message.subject)) return QStringLiteral("The subject must be a single line.");
  for (QChar c : message.subject)
    if ((c.unicode() < 0x20 && c != u'\t') || c.unicode() == 0x7f)
      return QStringLiteral("The subject holds a control character.");
  const QString* addresses[] = {&message.from, &message.to};
  for (const QString* address : addresses) {
    if (HasLineBreak(*address)) return QStringLiteral("An email address must be a single line.");
    if (!IsMailAddress(*address))
      return QStringLiteral("%1 is not a valid email address.").arg(*address);
  }
  return {};
}

QByteArray MakeMessageId(const QString& from) {
  quint32 random[4];
  QRandomGenerator::system()->fillRange(random);
  const QByteArray id = QByteArray(reinterpret_cast<const char*>(random), sizeof random).toHex();
  QString domain = from.mid(from.lastIndexOf(u'@') + 1);
  if (!IsMailAddress(from)) domain = QStringLiteral("localhost");
  return "<" + id + "@" + domain.toUtf8() + ">";
}

QByteArray Rfc5322Date(const QDateTime& date) {
  static const char* const kDays[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
  static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  const QDate d = date.date();
  const QTime t = date.time();
  const int offset = date.offsetFromUtc() / 60;
  const int absOffset = offset < 0 ? -offset : offset;
  return QString::asprintf("%s, %02d %s %04d %02d:%02d:%02d %c%02d%02d", kDays[d.dayOfWeek() - 1],
                           d.day(), kMonths[d.month() - 1], d.year(), t.hour(), t.minute(),
                           t.second(), offset < 0 ? '-' : '+', absOffset / 60, absOffset % 60)
      .toLatin1();
}

QByteArray EncodedSubjectField(const QString& subject) {
  // A long word without blanks could not be folded: it goes as encoded words too. Plain
  // subjects follow the colon directly, as this program has always sent them.
  if (IsAscii(subject) && subject.size() < 900) return FoldAscii("Subject:" + subject.toLatin1());
  // RFC 2047 words of whole characters, one a line.
  QByteArray field = "Subject:";
  QByteArray word;
  auto flush = [&] {
    if (word.isEmpty()) return;
    if (field != "Subject:") field += kCrLf;
    field += " =?UTF-8?B?" + word.toBase64() + "?=";
    word.clear();
  };
  for (qsizetype i = 0; i < subject.size();) {
    const qsizetype length = subject[i].isHighSurrogate() && i + 1 < subject.size() ? 2 : 1;
    const QByteArray bytes = subject.mid(i, length).toUtf8();
    if (word.size() + bytes.size() > kWordBytes) flush();
    word += bytes;
    i += length;
  }
  flush();
  return field;
}

QByteArray QuotedPrintable(const QString& text) {
  QString normal = text;
  normal.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(u'\r', u'\n');
  QList<QByteArray> lines = normal.toUtf8().split('\n');
  // A text that ends its last line has no empty line after it.
  if (lines.size() > 1 && lines.last().isEmpty()) lines.removeLast();
  QByteArray out;
  for (const QByteArray& line : lines) {
    QByteArray encoded;
    int column = 0;
    for (qsizetype i = 0; i < line.size(); ++i) {
      const unsigned char c = static_cast<unsigned char>(line[i]);
      const bool last = i == line.size() - 1;
      QByteArray piece;
      // Blanks at the end of a line would be lost on the way; "=" starts an escape.
      if ((c >= 33 && c <= 126 && c != '=') || ((c == ' ' || c == '\t') && !last))
        piece = QByteArray(1, char(c));
      else
        piece = "=" + QByteArray(1, char(c)).toHex().toUpper();
      // Room for the soft break "=" unless this piece ends the line.
      const int room = last ? kQpWidth : kQpWidth - 1;
      if (column + piece.size() > room) {
        encoded += QByteArray("=") + kCrLf;
        column = 0;
      }
      encoded += piece;
      column += int(piece.size());
    }
    out += encoded + kCrLf;
  }
  return out;
}

QByteArray ComposeMessage(const MailMessage& message, const QDateTime& date,
                          const QByteArray& messageId) {
  QByteArray out;
  auto header = [&](const QByteArray& line) { out += line + kCrLf; };
  header("Date: " + Rfc5322Date(date));
  header("From: " + message.from.toUtf8());
  header("To: " + message.to.toUtf8());
  header(EncodedSubjectField(message.subject));
  header("Message-ID: " + messageId);
  header("MIME-Version: 1.0");
  if (message.html.isEmpty()) return out + TextPart(message.text, "text/plain");
  const QByteArray boundary = Boundary(messageId);
  header("Content-Type: multipart/alternative; boundary=\"" + boundary + "\"");
  out += kCrLf;
  out += "--" + boundary + kCrLf + TextPart(message.text, "text/plain");
  out += "--" + boundary + kCrLf + TextPart(message.html, "text/html");
  out += "--" + boundary + "--" + kCrLf;
  return out;
}

QByteArray ComposeMessage(const MailMessage& message) {
  return ComposeMessage(message, QDateTime::currentDateTime(), MakeMessageId(message.from));
}

QByteArray DataTransfer(const QByteArray& composed) {
  QByteArray out;
  out.reserve(composed.size() + composed.size() / 64 + 8);
  bool lineStart = true;
  for (char c : composed) {
    if (lineStart && c == '.') out += '.';
    out += c;
    lineStart = c == '\n';
  }
  if (!out.endsWith(kCrLf)) out += kCrLf;
  return out + ".\r\n";
}
