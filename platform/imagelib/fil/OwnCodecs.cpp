#include "fil/OwnCodecs.h"

#include "fil/DeclaredPicture.h"
#include "fil/EpsWriter.h"
#include "fil/GemImgCodec.h"
#include "fil/MspCodec.h"

int OwnCodecInfo(const FileBuffer& content, const FormatTraits& traits, FileInfo& info) {
  int width = 0, height = 0, rc = ERROR_FORMAT_NO_READER;
  switch (traits.Reader) {
    case Codec::Msp:
      rc = MspReadSize(content.begin(), content.Size, width, height);
      break;
    case Codec::GemImg:
      rc = GemImgReadSize(content.begin(), content.Size, width, height);
      break;
    default:
      break;
  }
  if (rc != SUCCESS) return rc;
  info.Width = width;
  info.Height = height;
  info.BitsPerPixel = 1;
  return CheckDeclaredPicture(ReadDeclaredPicture(traits.Code, content.begin(), content.Size));
}

int OwnCodecDecode(const FileBuffer& content, const FormatTraits& traits, ImageBitmap& bmp) {
  if (const int rc =
          CheckDeclaredPicture(ReadDeclaredPicture(traits.Code, content.begin(), content.Size));
      rc != SUCCESS)
    return rc;
  switch (traits.Reader) {
    case Codec::Msp:
      return MspDecode(content.begin(), content.Size, bmp);
    case Codec::GemImg:
      return GemImgDecode(content.begin(), content.Size, bmp);
    default:
      return ERROR_FORMAT_NO_READER;
  }
}

int OwnCodecEncode(const ImageBitmap& bmp, const FormatTraits& traits, QByteArray& bytes) {
  switch (traits.Writer) {
    case Codec::Msp:
      return MspEncode(bmp, bytes);
    case Codec::GemImg:
      return GemImgEncode(bmp, bytes);
    case Codec::Eps:
      return EpsEncode(bmp, bytes);
    default:
      return ERROR_FORMAT_NO_WRITER;
  }
}
