#include "inet/QueryEscape.h"

#include <QByteArray>

namespace {

bool StandsInQueryValue(unsigned char c) {
  if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return true;
  switch (c) {
    case '-': case '.': case '_': case '~': case '!': case '*': case '(': case ')':
    case ',': case ';': case ':': case '@': case '/': case '\'':
      return true;
    default:
      return false;
  }
}

void AppendEncoded(QByteArray& out, unsigned char c) {
  static const char kHex[] = "0123456789ABCDEF";
  if (StandsInQueryValue(c)) {
    out += char(c);
  } else {
    out += '%';
    out += kHex[c >> 4];
    out += kHex[c & 15];
  }
}

QString Escape(const QString& value, bool doubleAmpersandIsOne) {
  const QByteArray bytes = value.toUtf8();
  QByteArray out;
  out.reserve(bytes.size() * 3);
  for (qsizetype i = 0; i < bytes.size(); ++i) {
    const auto c = static_cast<unsigned char>(bytes[i]);
    if (c == '\'') {
      out += "''";
    } else if (doubleAmpersandIsOne && c == '&' && i + 1 < bytes.size() && bytes[i + 1] == '&') {
      out += "%26";
      ++i;
    } else {
      AppendEncoded(out, c);
    }
  }
  return QString::fromLatin1(out);
}

}  // namespace

QString PercentEncodeQueryValue(const QString& value) {
  QByteArray out;
  for (char c : value.toUtf8()) AppendEncoded(out, static_cast<unsigned char>(c));
  return QString::fromLatin1(out);
}

QString EscapeQueryValue(const QString& value) { return Escape(value, true); }
QString EscapeQueryText(const QString& value) { return Escape(value, false); }
