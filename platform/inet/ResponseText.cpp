#include "inet/ResponseText.h"

QString GetResponseValue(const QString& text, const QString& key) {
  const qsizetype at = text.indexOf(key);
  if (key.isEmpty() || at < 0) return {};
  const qsizetype start = at + key.size();
  const qsizetype lineFeed = text.indexOf(QLatin1Char('\n'), start);
  if (lineFeed < 0) return text.mid(start);
  // Lines end in CR LF; a server that ends them in a bare LF still gives whole values.
  const bool carriageReturn = lineFeed > start && text[lineFeed - 1] == QLatin1Char('\r');
  return text.mid(start, lineFeed - start - (carriageReturn ? 1 : 0));
}

QString NextResponseLine(QString& text) {
  const qsizetype lineFeed = text.indexOf(QLatin1Char('\n'));
  QString line;
  if (lineFeed < 0) {
    line.swap(text);
  } else {
    line = text.left(lineFeed + 1);
    text.remove(0, lineFeed + 1);
  }
  return line;
}

QByteArray RemoveZeroBytes(const QByteArray& block) {
  QByteArray kept = block;
  kept.removeIf([](char c) { return c == '\0'; });
  return kept;
}

qint64 ResponseNumber(const QString& value) {
  bool ok = false;
  const qint64 number = value.trimmed().toLongLong(&ok);
  return ok ? number : 0;
}
