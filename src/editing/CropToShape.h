#pragma once

#include <QRect>

#include "krn/ltkrn.h"

// What a crop keeps: the source rectangle becomes the whole result, and of it only what
// lies inside the shape (a rectangle or the ellipse inscribed in it, in the picture's
// pixels) keeps its colour; the rest is white. Without a shape the whole rectangle is kept.
struct CropArea {
  QRect Source;
  QRect Shape;
  bool HasShape = false;
  bool Ellipse = false;
};

// The cropped picture, at the picture's depth. SUCCESS, or the library's failure with
// result untouched.
int CropToShape(const ImageBitmap& picture, const CropArea& area, ImageBitmap& result);
