#pragma once

// The small codecs of our own, for formats Magick does not handle here.

#include <QByteArray>

#include "fil/FileBuffer.h"
#include "fil/FormatTable.h"
#include "fil/ltfil.h"

// Both refuse a picture too large for its data or the library's limits before anything
// is set aside for it (CheckDeclaredPicture); info then holds the declared size.
int OwnCodecInfo(const FileBuffer& content, const FormatTraits& traits, FileInfo& info);
int OwnCodecDecode(const FileBuffer& content, const FormatTraits& traits, ImageBitmap& bmp);
// Encodes bmp (already at a depth the format holds) into bytes.
int OwnCodecEncode(const ImageBitmap& bmp, const FormatTraits& traits, QByteArray& bytes);
