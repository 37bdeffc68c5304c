#pragma once

#include <functional>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QImage>
#include <QString>

#include "krn/ImageBitmap.h"

// Runs the event loop until the condition holds; false when it still does not after a
// generous time (a hang fails the test instead of blocking it).
inline bool WaitFor(const std::function<bool()>& condition) {
  QDeadlineTimer deadline(10000);
  while (!condition()) {
    if (deadline.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  return true;
}

// Writes a photo-like picture (a gradient, so JPEG keeps it small) of that size.
inline bool WritePicture(const QString& path, int width, int height, const char* format = "JPG") {
  QImage image(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y) {
    auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < width; ++x) row[x] = qRgb(x * 255 / width, y * 255 / height, 128);
  }
  return image.save(path, format);
}

inline bool WriteText(const QString& path, const QByteArray& text) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}
