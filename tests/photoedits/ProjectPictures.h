#pragma once

// What the tests of the fun projects share: an application for the fonts, plain pictures
// and a look at where their pixels are.

#include <functional>

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QRect>

#include "krn/ltkrn.h"

class ProjectPictureTest : public ::testing::Test {
 protected:
  static inline char programName[] = "photoedits_tests";
  static inline int argc = 1;
  static inline char* argv[] = {programName, nullptr};
  QGuiApplication application{argc, argv};
};

// A picture of one colour, in 24 bits, or 32 with alpha.
inline ImageBitmap FilledPicture(int width, int height, QRgb colour, bool alpha = false) {
  QImage image(width, height, alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
  image.fill(colour);
  if (alpha) image.setPixel(0, 0, qRgba(0, 0, 0, 0));
  ImageBitmap bmp;
  SetBitmapImage(bmp, image);
  return bmp;
}

inline bool IsDark(QRgb pixel) { return qGray(pixel) < 100; }

// The smallest rectangle holding every pixel of the area that passes; null when none does.
inline QRect PixelsWhere(const ImageBitmap& picture, const std::function<bool(QRgb)>& test,
                         QRect area = QRect()) {
  const QImage image = BitmapToRgb32(picture);
  if (area.isNull()) area = image.rect();
  area &= image.rect();
  QRect found;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if (test(image.pixel(x, y))) found |= QRect(x, y, 1, 1);
  return found;
}
