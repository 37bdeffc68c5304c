#pragma once

// Moving pixels between Magick images and the library's bitmaps. These may throw Magick
// exceptions; callers catch them.

#include "fil/MagickInclude.h"
#include "fil/ProgressSpan.h"
#include "krn/ImageBitmap.h"

// The decoded picture as a bitmap: a palette of up to 256 entries stays indexed (1, 4 or
// 8 bits by its size), grey is 8 bits (1 for a one-bit grey file), colour is 24 bits and
// 32 only when some pixel is not opaque. Reports progress; ERROR_USER_ABORT when asked.
int MagickImageToBitmap(Magick::Image& image, ImageBitmap& bmp, ProgressSpan progress = {});
// The depth MagickImageToBitmap will give, judged from a pinged image's header alone.
int MagickPingedBits(const Magick::Image& image);
// A Magick image of the bitmap: an indexed bitmap becomes a palette image with exactly
// its palette and indices, others true colour (with alpha when some pixel has it).
Magick::Image BitmapToMagickImage(const ImageBitmap& bmp);
