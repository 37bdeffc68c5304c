#include "krn/PictureLimits.h"

#include "krn/ResultCodes.h"

bool PictureSizeAllowed(qint64 width, qint64 height) {
  if (width < 0 || height < 0) return false;
  // The sides are checked first, so the product cannot overflow.
  return width < kPictureSideLimit && height < kPictureSideLimit &&
         width * height < kPictureAreaLimit;
}

int CheckPictureSize(qint64 width, qint64 height, qint64 dataBytes, bool dataTooShort) {
  if (!PictureSizeAllowed(width, height)) return ERROR_IMAGE_TOO_LARGE;
  if (dataTooShort) return ERROR_FILE_CORRUPT;
  const qint64 pixels = width * height;
  if (pixels <= kFreePictureArea) return SUCCESS;
  // Within the limits dataBytes * kPixelsPerDataByte exceeds any area long before it
  // could overflow; the division keeps it so for any dataBytes.
  const qint64 needed = (pixels - kFreePictureArea + kPixelsPerDataByte - 1) / kPixelsPerDataByte;
  return dataBytes >= needed ? SUCCESS : ERROR_IMAGE_TOO_LARGE;
}
