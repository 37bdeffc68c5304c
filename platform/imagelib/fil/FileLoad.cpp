// Loading picture files into bitmaps. A failed load never leaves half-written pixels:
// decoding goes into a bitmap of its own that replaces the caller's only on success.
#include "cmp/JpegCodec.h"
#include "fil/BitmapDepth.h"
#include "fil/FileBuffer.h"
#include "fil/MagickDecoder.h"
#include "fil/NoThrow.h"
#include "fil/OwnCodecs.h"
#include "fil/PictureFile.h"
#include "fil/ltfil.h"

namespace {
int Decode(const QString& file, int bitsPerPixel, ImageBitmap& bmp) {
  if (bitsPerPixel != 0 && !IsSupportedBits(bitsPerPixel)) return ERROR_BPP_NOT_SUPPORTED;
  PictureFile picture;
  if (const int rc = IdentifyPictureFile(file, picture); rc != SUCCESS) return rc;
  if (const int rc = CheckReadable(picture); rc != SUCCESS) return rc;
  ImageBitmap out;
  int rc = SUCCESS;
  if (picture.Traits->Reader == Codec::Jpeg) {
    // The codec converts to grey or colour itself; other depths are ours.
    const bool codecDepth = bitsPerPixel == 8 || bitsPerPixel == 24;
    rc = DecodeJpegFile(file, out, codecDepth ? bitsPerPixel : 0);
  } else {
    FileBuffer content;
    rc = ReadFileBuffer(file, content);
    if (rc == SUCCESS) {
      rc = picture.Traits->Reader == Codec::Magick
               ? MagickDecodePicture(content, *picture.Traits, out)
               : OwnCodecDecode(content, *picture.Traits, out);
    }
  }
  if (rc == SUCCESS && !out.hasPixels()) rc = ERROR_FILE_CORRUPT;
  if (rc == SUCCESS && bitsPerPixel != 0 && out.BitsPerPixel != bitsPerPixel)
    rc = ConvertBitmapDepth(out, bitsPerPixel);
  if (rc != SUCCESS) return rc;
  bmp = std::move(out);
  return SUCCESS;
}
}  // namespace

int LoadBitmapFile(const QString& file, ImageBitmap& bmp) {
  return NoThrow([&] { return Decode(file, bmp.BitsPerPixel, bmp); });
}

int LoadImageFile(const QString& file, ImageBitmap& bmp) {
  return NoThrow([&] { return Decode(file, 0, bmp); });
}

int LoadPictureFile(const QString& file, ImageBitmap& bmp) {
  FileInfo header;
  return LoadPictureFile(file, bmp, header);
}

int LoadPictureFile(const QString& file, ImageBitmap& bmp, FileInfo& info) {
  InitBitmap(bmp, 0, 0, 0);
  info = FileInfo{};
  int rc = GetImageFileInfo(file, info);
  if (rc == SUCCESS) rc = InitBitmap(bmp, info.Width, info.Height, info.BitsPerPixel);
  if (rc == SUCCESS) rc = LoadBitmapFile(file, bmp);
  if (rc != SUCCESS) InitBitmap(bmp, 0, 0, 0);
  return rc;
}
