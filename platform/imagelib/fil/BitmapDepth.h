#pragma once

// Changing a bitmap's depth for loading at a chosen depth and for saving.

#include "krn/ImageBitmap.h"

// To 1, 4 or 8 bits: a palette that fits is kept as it is (entries and indices); else the
// picture's own colours when there are few enough; else an optimised palette with
// To 1, 4 or 8 bits only when no colour is lost; false (bmp untouched) otherwise.
bool ConvertBitmapDepthExactly(ImageBitmap& bmp, int bitsPerPixel);
// Floyd-Steinberg dithering (black and white for 1 bit). To 24 or 32 bits: expands.
int ConvertBitmapDepth(ImageBitmap& bmp, int bitsPerPixel);
// To 1, 4 or 8 bits only when no colour is lost; false (bmp untouched) otherwise.
bool ConvertBitmapDepthExactly(ImageBitmap& bmp, int bitsPerPixel);
// Floyd-Steinberg dithering of the brightness to black (index 0) and white (index 1).
int DitherToBlackAndWhite(ImageBitmap& bmp);
// Whether every palette entry (or every pixel of a true-colour bitmap) is grey.
bool IsGreyBitmap(const ImageBitmap& bmp);
