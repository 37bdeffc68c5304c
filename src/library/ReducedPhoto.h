#pragma once

#include <QString>

#include "krn/ImageBitmap.h"

class PhotoStore;

// How a reduced photo is decoded: JPEGs at the largest of libjpeg's scales not below the
// reduced size (a fraction of the pixels), or every photo at full size first.
enum class ReducedDecode { Scaled, Full };

// The photo shrunk to a divisor-th of its width and height (integer division), as album
// pages show it. The imaging library's result; picture is left as it was on failure.
int LoadReducedPhoto(const PhotoStore& store, const QString& stem, int divisor, ImageBitmap& picture,
                     ReducedDecode decode = ReducedDecode::Scaled);
