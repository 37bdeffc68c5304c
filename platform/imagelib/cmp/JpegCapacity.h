#pragma once

// Whether a JPEG file's coded data can hold the picture its frame header declares, told
// before anything is set aside for the pixels.

#include <QtGlobal>

// jpeglib.h needs FILE declared before it.
#include <jpeglib.h>
#include <cstdio>

// The 8 x 8 blocks of all components together, once the header is read.
qint64 JpegBlockCount(const jpeg_decompress_struct& header);
// SUCCESS, ERROR_IMAGE_TOO_LARGE or ERROR_FILE_CORRUPT (see CheckPictureSize). Huffman
// coding spends at least one bit on every block, so fewer bits than blocks cannot be the
// whole picture. Arithmetic coding can pack a flat block into a tiny fraction of a bit,
// which bounds nothing; such pictures answer to the library's limit on how many pixels a
// byte of data may stand for.
int CheckJpegCapacity(qint64 width, qint64 height, qint64 blocks, bool arithmetic,
                      qint64 dataBytes);
