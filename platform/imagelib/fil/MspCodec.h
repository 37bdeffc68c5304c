#pragma once

// Microsoft Paint (.msp): black and white, a 32-byte header, then rows either stored
// plainly (version 1, "DanM") or packed with a table of row sizes (version 2, "LinS").
// A set bit is a white pixel.

#include <QByteArray>
#include <cstddef>

#include "krn/ImageBitmap.h"

int MspReadSize(const unsigned char* data, std::size_t size, int& width, int& height);
int MspDecode(const unsigned char* data, std::size_t size, ImageBitmap& bmp);
// Writes version 2, as Paint for Windows 3 did.
int MspEncode(const ImageBitmap& bmp, QByteArray& bytes);
