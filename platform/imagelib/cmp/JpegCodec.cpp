#include "cmp/JpegCodec.h"

#include "krn/ResultCodes.h"

// Placeholders until the codec lands.
int JpegQualityForFactor(int) { return 75; }
int ReadJpegInfo(const QString&, JpegInfo&) { return ERROR_FAILURE; }
int DecodeJpegFile(const QString&, ImageBitmap&, int) { return ERROR_FAILURE; }
int EncodeJpegFile(const QString&, const ImageBitmap&, int, int, int, const QString&) {
  return ERROR_FAILURE;
}
int ReadJpegDescription(const QString&, QString&) { return ERROR_NO_COMMENT; }
