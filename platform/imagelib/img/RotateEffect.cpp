#include "img/ltimg.h"

int ApplyRotateEffect(ImageBitmap& bmp, int value, int) {
  if (!bmp.hasPixels()) return ERROR_NO_BITMAP;
  if (!ReportProgress(0)) return ERROR_USER_ABORT;
  const int result = RotateBitmap(bmp, value, 1);
  ReportProgress(100);
  return result;
}
