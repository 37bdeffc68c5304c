#pragma once

// The JPEG codec (lfcmp10n.dll), on libjpeg-turbo.

#include <QString>

#include "krn/ImageBitmap.h"

struct JpegInfo {
  int Width = 0;         // stored size, before orientation
  int Height = 0;
  int Components = 0;    // 1 grey, 3 colour, 4 CMYK
  int Orientation = 1;   // EXIF orientation, 1 when absent or invalid
  // Chroma subsampling: how many luma samples share one chroma sample across and down.
  // 1 x 1 for files without subsampling (format 10) and grey ones; 2 x 2 for format 21.
  int SubsamplingX = 1;
  int SubsamplingY = 1;
  bool Progressive = false;
  bool Arithmetic = false;  // arithmetic rather than Huffman coding
  qint64 Blocks = 0;        // 8 x 8 blocks of all components together
  qint64 DataBytes = 0;     // from the first scan to the end of the file
};

// The IJG quality (1..100) for a quality factor: 2 is the best quality, 255 the most
// compression; the tables are scaled to 2*factor percent. Factors outside 2..255 are
// taken as the nearest end.
int JpegQualityForFactor(int qualityFactor);

// Reads the markers up to the first scan only.
int ReadJpegInfo(const QString& file, JpegInfo& info);
// Whether the data can hold the picture the header declares, as decoding checks it first:
// SUCCESS, ERROR_FILE_CORRUPT (too little data for the coding) or ERROR_IMAGE_TOO_LARGE
// (beyond the library's limits, or more pixels than the data may stand for).
int CheckJpegData(const JpegInfo& info);
// Decodes the whole file, upright (orientation applied). bitsPerPixel 0 keeps the file's
// own depth (8 for grey, else 24); 8, 24 or 32 converts. A file cut short is an error,
// a picture CheckJpegData refuses is refused before anything is allocated, and on any
// error bmp keeps what it held. With `description`, the file's description
// (empty when it has none) is read from the same pass.
int DecodeJpegFile(const QString& file, ImageBitmap& bmp, int bitsPerPixel,
                   QString* description = nullptr);
// As DecodeJpegFile, for previews: decodes at the smallest of libjpeg's scales 1/8, 1/4,
// 1/2 and 1/1 whose upright picture is still at least minWidth x minHeight (or at full
// size when even that is smaller).
int DecodeJpegFileScaled(const QString& file, ImageBitmap& bmp, int bitsPerPixel, int minWidth,
                         int minHeight, QString* description = nullptr);
// Encodes to `file` (the caller picks a temporary name and renames it). format is 10
// (no subsampling) or 21 (2x2 subsampling); bitsPerPixel 8 writes grey, 24 colour, and
// 0 grey for a grey 8-bit bitmap, else colour. A non-empty description (its first 255
// characters) is written as EXIF ImageDescription, XMP dc:description and a JPEG comment.
// On failure no partial file is left behind.
int EncodeJpegFile(const QString& file, const ImageBitmap& bmp, int format, int bitsPerPixel,
                   int qualityFactor, const QString& description);
// The description from the first found of EXIF ImageDescription, XMP dc:description and
// the JPEG comment; ERROR_NO_COMMENT when none is there.
int ReadJpegDescription(const QString& file, QString& description);
