#pragma once

#include <QImage>

// Turns rows that libjpeg decoded as CMYK (four bytes a pixel, in a Format_RGB32 image of
// the same size) into RGB in place. Adobe applications write the channels inverted
// (255 means no ink), which is what `inverted` says; others write plain amounts of ink.
void ConvertCmykToRgbInPlace(QImage& image, bool inverted);
