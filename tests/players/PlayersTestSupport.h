#pragma once

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QString>

#include "cmp/JpegCodec.h"
#include "krn/ltkrn.h"

// The application of the player tests, made on first need and kept for the process.
inline QApplication* PlayersTestApp() {
  if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance())) return app;
  static int argc = 1;
  static char name[] = "players_tests";
  static char* argv[] = {name, nullptr};
  return new QApplication(argc, argv);
}

// A JPEG photo of one colour.
inline bool WriteJpegPhoto(const QString& path, int width, int height, QRgb colour) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(colour);
  ImageBitmap bmp;
  if (SetBitmapImage(bmp, image) != SUCCESS) return false;
  return EncodeJpegFile(path, bmp, 21, 24, 10, QString()) == SUCCESS;
}

inline bool WriteBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Whether two colours agree within tolerance in each of red, green and blue.
inline bool ColoursNear(QRgb a, QRgb b, int tolerance = 6) {
  return std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
         std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}
