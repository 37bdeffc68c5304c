#pragma once

#include <QApplication>
#include <QColor>
#include <QImage>

#include "krn/ImageBitmap.h"

// The application of the widget tests, made on first need and kept for the process, so
// tests may run alone or together; null when another kind of application exists.
inline QApplication* ControlsTestApp() {
  if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance())) return app;
  if (QCoreApplication::instance()) return nullptr;
  static int argc = 1;
  static char name[] = "controls_tests";
  static char* argv[] = {name, nullptr};
  return new QApplication(argc, argv);
}

// A picture of one colour.
inline ImageBitmap SolidPicture(int width, int height, QRgb colour) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(colour);
  ImageBitmap bmp;
  SetBitmapImage(bmp, image);
  return bmp;
}

// The grabbed pixel without its alpha byte.
inline QRgb PixelAt(const QImage& image, int x, int y) { return image.pixel(x, y) | 0xff000000u; }
