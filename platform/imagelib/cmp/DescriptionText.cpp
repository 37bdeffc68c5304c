#include "cmp/DescriptionText.h"

#include <QByteArrayView>

QString DescriptionFromBytes(const char* data, std::size_t size) {
  while (size > 0 && data[size - 1] == '\0') --size;
  const QByteArrayView bytes(data, qsizetype(size));
  if (bytes.isValidUtf8()) return QString::fromUtf8(bytes);
  return QString::fromLatin1(bytes);
}

QString DescriptionToWrite(const QString& text) {
  QString out;
  out.reserve(text.size());
  int characters = 0;
  for (qsizetype i = 0; i < text.size() && characters < kMaxDescriptionCharacters; ++i) {
    const QChar c = text.at(i);
    if (c.isNull()) continue;
    out += c;
    if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
      out += text.at(++i);
    ++characters;
  }
  return out;
}

bool IsBlankDescription(const QString& text) { return text.trimmed().isEmpty(); }
