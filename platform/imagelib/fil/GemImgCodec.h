#pragma once

// GEM Image (.img), monochrome: a header of big-endian words, then rows packed with
// solid runs, pattern runs, literal strings and row repeats. A set bit is black.

#include <QByteArray>
#include <cstddef>

#include "krn/ImageBitmap.h"

int GemImgReadSize(const unsigned char* data, std::size_t size, int& width, int& height);
// One plane only; pictures of several planes are ERROR_FORMAT_NO_READER.
int GemImgDecode(const unsigned char* data, std::size_t size, ImageBitmap& bmp);
int GemImgEncode(const ImageBitmap& bmp, QByteArray& bytes);
