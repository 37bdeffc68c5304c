#pragma once

// The image-processing module (ltimg10n.dll): the effects. Every operation has the same
// shape, (picture, value, option), works in place, and leaves the picture as it was when it
// fails or when the progress callback asks it to stop. Where the picture has a region, only
// the region's pixels change. Indexed pictures keep their depth where the operation maps
// colours one to one (the palette is mapped); otherwise a grey picture whose result is
// still grey stays 8-bit grey and any other comes out as 24 bits (32 with transparency).
// Rows are worked on by every core; progress is reported from the calling thread.

#include "krn/ltkrn.h"

// Inverts every colour component: the negative.
int ApplyInvert(ImageBitmap& bmp, int value = 0, int option = 0);
// value -1000 to 1000, tenths of a percent of the way to white (positive) or black.
int ApplyBrightness(ImageBitmap& bmp, int value, int option = 0);
// value -1000 to 1000: positive spreads the components away from the middle grey, up to
// a threshold at 1000; negative pulls them toward it, to flat grey at -1000.
int ApplyContrast(ImageBitmap& bmp, int value, int option = 0);
// value -1000 to 1000: positive adds value/100 times the difference from the 3 x 3 mean;
// negative moves each pixel -value/1000 of the way to that mean.
int ApplySharpen(ImageBitmap& bmp, int value, int option = 0);
// value in degrees (any): turns the hue of every colour, red toward green for positive.
int ApplyHueShift(ImageBitmap& bmp, int value, int option = 0);
// value -100 to 100: changes each colour's saturation by that percentage of itself,
// keeping its lightness and hue (-100 gives grey).
int ApplySaturation(ImageBitmap& bmp, int value, int option = 0);
// Tiles of value x value pixels from the top-left corner take their mean colour; 0 and 1
// change nothing.
int ApplyMosaic(ImageBitmap& bmp, int value, int option = 0);
// Each pixel takes the mean colour of the most frequent brightness (in 64 steps) of its
// value x value neighbourhood; 0 and 1 change nothing.
int ApplyOilPaint(ImageBitmap& bmp, int value, int option = 0);
// A grey relief, lit from direction option (0 north, clockwise to 7 northwest); value 0
// to 1000 is the depth (500: the brightness difference as it is).
int ApplyEmboss(ImageBitmap& bmp, int value, int option);
// Each pixel takes the mean of its value x value neighbourhood; 0 and 1 change nothing.
int ApplyBlur(ImageBitmap& bmp, int value, int option = 0);
// Each component takes the median of its value x value neighbourhood (the lower middle
// value for an even count); 0 and 1 change nothing.
int ApplyMedian(ImageBitmap& bmp, int value, int option = 0);
// value 0 to 100 percent of the pixels, chosen at random, take a random value in the
// plane of option: 0 all three components, 1 red, 2 green, 3 blue.
int ApplyNoise(ImageBitmap& bmp, int value, int option);
// value 2 to 64 levels per colour component, spread evenly from 0 to 255.
int ApplyPosterize(ImageBitmap& bmp, int value, int option = 0);
// Components of value (0 to 255) or more are inverted.
int ApplySolarize(ImageBitmap& bmp, int value, int option = 0);
// The picture in grey: 8-bit grey (ApplyGrayScale), or, with a region, the region's
// pixels greyed in a 24-bit picture.
int ApplyGrayScaleEffect(ImageBitmap& bmp, int value = 0, int option = 0);
// RotateBitmap by value degrees clockwise on a canvas grown to hold it all (white corners);
// the region is dropped, since it no longer covers the same pixels.
int ApplyRotateEffect(ImageBitmap& bmp, int value, int option = 0);
// One of the 3 x 3 filters, numbered by option from 0 to kSpatialFilterCount - 1.
int ApplySpatialFilter(ImageBitmap& bmp, int value, int option);
inline constexpr int kSpatialFilterCount = 33;

// Settles a picture composed by painting (a crop, a frame): drops the region it was painted
// through, which no longer means anything in the new picture. flags must be 0.
int FinishBitmap(ImageBitmap& bmp, int flags);

int LtImgModuleVersion();
