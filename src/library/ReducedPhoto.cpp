#include "library/ReducedPhoto.h"

#include <algorithm>

#include "cmp/JpegCodec.h"
#include "fil/FileFormats.h"
#include "fil/ltfil.h"
#include "krn/ltkrn.h"
#include "library/PhotoStore.h"

int LoadReducedPhoto(const PhotoStore& store, const QString& stem, int divisor, ImageBitmap& picture,
                     ReducedDecode decode) {
  if (divisor < 1) return ERROR_INV_PARAMETER;
  const QString path = store.PhotoPath(stem);
  FileInfo info;
  int result = GetImageFileInfo(path, info);
  if (result != SUCCESS) return result;
  const int width = std::max(info.Width / divisor, 1), height = std::max(info.Height / divisor, 1);
  ImageBitmap decoded;
  const bool jpeg = info.Format == FILE_JPEG || info.Format == FILE_JPEG_411;
  if (jpeg && decode == ReducedDecode::Scaled)
    result = DecodeJpegFileScaled(path, decoded, 0, width, height);
  else
    result = store.LoadPhoto(decoded, stem);
  if (result != SUCCESS) return result;
  if (decoded.Width != width || decoded.Height != height) result = ResizeBitmap(decoded, width, height);
  if (result != SUCCESS) return result;
  picture = std::move(decoded);
  return SUCCESS;
}
