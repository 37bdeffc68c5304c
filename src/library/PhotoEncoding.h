#pragma once

#include <QSize>
#include <QString>

#include "fil/FileFormats.h"
#include "fil/SaveComments.h"

// How the store encodes both files of a photo.
inline constexpr int kPhotoFileFormat = FILE_JPEG_411;
inline constexpr int kPhotoQualityFactor = 20;
inline constexpr int kThumbnailSide = 100;

// Both files are written with at least 24 bits per pixel.
int PhotoBitsPerPixel(int ownBitsPerPixel);

// The thumbnail of a W x H picture: the longer side becomes 100 and the other
// 100 * short / long, cut toward zero. A side the rule makes 0 (a picture more than a
// hundred times longer than wide) becomes 1. An empty picture gives an empty size.
QSize ThumbnailSize(int width, int height);

// The comments both files of a photo carry: the description (type 3), cut to 255
// characters, and no other.
SaveComments StoreComments(const QString& description);
// The description (comment type 3) of a file, at most 255 characters; "" when it has none.
QString ReadPhotoDescription(const QString& file);
