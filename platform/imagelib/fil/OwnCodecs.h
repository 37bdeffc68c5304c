#pragma once

// The small codecs of our own, for formats Magick does not handle here.

#include <QByteArray>

#include "fil/FileBuffer.h"
#include "fil/FormatTable.h"
#include "fil/ltfil.h"

int OwnCodecInfo(const FileBuffer& content, const FormatTraits& traits, FileInfo& info);
int OwnCodecDecode(const FileBuffer& content, const FormatTraits& traits, ImageBitmap& bmp);
// Encodes bmp (already at a depth the format holds) into bytes.
int OwnCodecEncode(const ImageBitmap& bmp, const FormatTraits& traits, QByteArray& bytes);
