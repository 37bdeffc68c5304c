#include "dis/Orientation.h"
#include "dis/ltdis.h"

namespace {
bool HasTransparency(const QImage& image) {
  if (!image.hasAlphaChannel()) return false;
  // Premultiplying leaves alpha as it is, so either 32-bit form is read without converting.
  const bool direct = image.format() == QImage::Format_ARGB32 ||
                      image.format() == QImage::Format_ARGB32_Premultiplied;
  const QImage argb = direct ? image : image.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < argb.height(); ++y) {
    const QRgb* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
    for (int x = 0; x < argb.width(); ++x)
      if (qAlpha(line[x]) != 255) return true;
  }
  return false;
}
}  // namespace

QImage MakeDeviceBitmap(const ImageBitmap& bmp) {
  if (!bmp.hasPixels()) return {};
  return OrientImage(bmp.Pixels.convertToFormat(QImage::Format_ARGB32_Premultiplied),
                     bmp.Perspective);
}

int ConvertFromDeviceBitmap(ImageBitmap& bmp, const QImage& deviceBitmap) {
  if (deviceBitmap.isNull()) return ERROR_NO_BITMAP;
  const bool transparent = HasTransparency(deviceBitmap);
  QImage pixels = deviceBitmap.convertToFormat(transparent ? QImage::Format_ARGB32
                                                           : QImage::Format_RGB32);
  if (pixels.isNull()) return ERROR_NO_MEMORY;
  ImageBitmap converted;
  converted.Width = pixels.width();
  converted.Height = pixels.height();
  converted.BitsPerPixel = transparent ? 32 : 24;
  converted.Pixels = std::move(pixels);
  bmp = std::move(converted);
  return SUCCESS;
}
