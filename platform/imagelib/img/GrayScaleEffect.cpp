#include "img/EffectSupport.h"
#include "img/ltimg.h"

int ApplyGrayScaleEffect(ImageBitmap& bmp, int, int) {
  if (!bmp.hasPixels()) return ERROR_NO_BITMAP;
  if (bmp.Region.isEmpty()) return ApplyGrayScale(bmp, 8);
  // Only the region greys, so the picture keeps its colours elsewhere.
  return MapColours(bmp, [](QRgb p) {
    const int grey = (qRed(p) * 77 + qGreen(p) * 150 + qBlue(p) * 29) >> 8;
    return qRgb(grey, grey, grey);
  });
}
