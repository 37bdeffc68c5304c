#pragma once

#include <functional>

#include <QString>

#include "krn/ImageBitmap.h"

// Decodes a thumbnail file and reads its description (comment type 3, at most 255
// characters) with it. Returns the imaging library's result: SUCCESS (1) or a negative
// code, in which case bmp and description are left as they were.
using ThumbnailDecoder =
    std::function<int(const QString& file, ImageBitmap& bmp, QString& description)>;

// The decoder the thumbnail watcher uses: a JPEG in one pass (picture and description),
// any other picture through the general loader.
int DecodeThumbnail(const QString& file, ImageBitmap& bmp, QString& description);
