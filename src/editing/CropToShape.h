#pragma once

#include <QRect>

#include "krn/ltkrn.h"

// What a crop keeps: the source rectangle becomes the whole result, and of it only the
// pixels whose centres lie inside the shape (a rectangle or the ellipse inscribed in it,
// in the picture's pixels) keep their colour; the rest, and whatever of the rectangle lies
// outside the picture, is white. Without a shape the whole rectangle is kept.
struct CropArea {
  QRect Source;
  QRect Shape;
  bool HasShape = false;
  bool Ellipse = false;
};

// The cropped picture: 24 bits, or 32 for a picture with transparency. SUCCESS, or the
// library's failure with result untouched.
int CropToShape(const ImageBitmap& picture, const CropArea& area, ImageBitmap& result);
