#pragma once

// Black-and-white pictures as rows of packed bits, the form the monochrome file
// formats store them in (the most significant bit is the leftmost pixel).

#include <QByteArray>

#include "krn/ImageBitmap.h"

// A row of the bitmap packed to bits; a bit is set where the pixel is dark when
// setForBlack, else where it is light.
QByteArray PackMonochromeRow(const ImageBitmap& bmp, int y, bool setForBlack);
// An indexed black-and-white picture (index 0 black, 1 white) to fill row by row.
QImage NewMonochromeImage(int width, int height);
// Unpacks one stored row into the picture.
void UnpackMonochromeRow(const unsigned char* bits, QImage& image, int y, bool setForBlack);
