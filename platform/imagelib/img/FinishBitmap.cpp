#include "img/ltimg.h"

int FinishBitmap(ImageBitmap& bmp, int flags) {
  if (flags != 0) return ERROR_INV_PARAMETER;
  if (!bmp.hasPixels()) return ERROR_NO_BITMAP;
  bmp.Region = QPainterPath();
  return SUCCESS;
}
