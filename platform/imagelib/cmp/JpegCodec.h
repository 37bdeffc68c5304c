#pragma once

// The JPEG codec (lfcmp10n.dll), on libjpeg-turbo.

#include <QString>

#include "krn/ImageBitmap.h"

struct JpegInfo {
  int Width = 0;         // stored size, before orientation
  int Height = 0;
  int Components = 0;    // 1 grey, 3 colour, 4 CMYK
  int Orientation = 1;   // EXIF orientation, 1 when absent or invalid
};

// The IJG quality (1..100) for a quality factor: 2 is the best quality, 255 the most
// compression; the tables are scaled to 2*factor percent.
int JpegQualityForFactor(int qualityFactor);

// Reads the markers up to the first scan only.
int ReadJpegInfo(const QString& file, JpegInfo& info);
// Decodes the whole file, upright (orientation applied). bitsPerPixel 0 keeps the file's
// own depth (8 for grey, else 24); 8 or 24 converts. A file cut short is an error.
int DecodeJpegFile(const QString& file, ImageBitmap& bmp, int bitsPerPixel);
// Encodes to `file` (the caller picks a temporary name and renames it). format is 10
// (no subsampling) or 21 (2x2 subsampling); bitsPerPixel 8 writes grey, 24 colour.
// A non-empty description is written as EXIF ImageDescription, XMP dc:description and
// a JPEG comment.
int EncodeJpegFile(const QString& file, const ImageBitmap& bmp, int format, int bitsPerPixel,
                   int qualityFactor, const QString& description);
// The description from the first found of EXIF ImageDescription, XMP dc:description and
// the JPEG comment; ERROR_NO_COMMENT when none is there.
int ReadJpegDescription(const QString& file, QString& description);
