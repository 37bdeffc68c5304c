#pragma once

// Encapsulated PostScript of a raster picture: a few lines of PostScript with the
// pixels in hex, as level 1 printers read it. Black and white (1 bit), grey (8) or
// colour (24); the page size follows the bitmap's resolution.

#include <QByteArray>

#include "krn/ImageBitmap.h"

// bmp is at 1 (black and white), 8 (grey palette) or 24 bits.
int EpsEncode(const ImageBitmap& bmp, QByteArray& bytes);
