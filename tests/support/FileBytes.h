#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QString>

// A file's bytes as they are on disk, for tests that check what was written; empty when
// the file cannot be read.
inline QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Puts exactly these bytes in the file, bypassing every writer under test.
inline void WriteRaw(const QString& path, const QByteArray& content) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write(content);
}

// The text as UTF-16 with its byte-order mark, as Windows Notepad saves "Unicode" files.
inline QByteArray Utf16(const QString& text, bool bigEndian) {
  QByteArray bytes = bigEndian ? QByteArray("\xFE\xFF") : QByteArray("\xFF\xFE");
  for (const QChar c : text) {
    const char high = char(c.unicode() >> 8), low = char(c.unicode() & 0xFF);
    bytes += bigEndian ? QByteArray{&high, 1} + low : QByteArray{&low, 1} + high;
  }
  return bytes;
}
