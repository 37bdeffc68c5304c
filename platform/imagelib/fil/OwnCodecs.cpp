#include "fil/OwnCodecs.h"

int OwnCodecInfo(const FileBuffer&, const FormatTraits&, FileInfo&) {
  return ERROR_FORMAT_NO_READER;
}

int OwnCodecDecode(const FileBuffer&, const FormatTraits&, ImageBitmap&) {
  return ERROR_FORMAT_NO_READER;
}

int OwnCodecEncode(const ImageBitmap&, const FormatTraits&, QByteArray&) {
  return ERROR_FORMAT_NO_WRITER;
}
