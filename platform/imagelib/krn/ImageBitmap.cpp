#include "krn/ImageBitmap.h"

#include <cstring>

#include "krn/ResultCodes.h"

QImage::Format ImageFormatForBits(int bitsPerPixel) {
  switch (bitsPerPixel) {
    case 1:
    case 4:
    case 8:
      return QImage::Format_Indexed8;
    case 24:
      return QImage::Format_RGB32;
    case 32:
      return QImage::Format_ARGB32;
    default:
      return QImage::Format_Invalid;
  }
}

bool IsSupportedBits(int bitsPerPixel) {
  return ImageFormatForBits(bitsPerPixel) != QImage::Format_Invalid;
}

namespace {
int BitsForPaletteSize(qsizetype colours) {
  if (colours <= 2) return 1;
  if (colours <= 16) return 4;
  return 8;
}

QImage GreyToIndexed(const QImage& grey) {
  QImage out(grey.size(), QImage::Format_Indexed8);
  if (out.isNull()) return out;
  QList<QRgb> ramp(256);
  for (int i = 0; i < 256; ++i) ramp[i] = qRgb(i, i, i);
  out.setColorTable(ramp);
  for (int y = 0; y < grey.height(); ++y)
    std::memcpy(out.scanLine(y), grey.constScanLine(y), size_t(grey.width()));
  return out;
}
}  // namespace

int SetBitmapImage(ImageBitmap& bmp, QImage image) {
  if (image.isNull()) return ERROR_NO_MEMORY;
  int bits = 24;
  switch (image.format()) {
    case QImage::Format_Indexed8:
      bits = BitsForPaletteSize(image.colorCount());
      break;
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
      image = image.convertToFormat(QImage::Format_Indexed8);
      bits = 1;
      break;
    case QImage::Format_Grayscale8:
      image = GreyToIndexed(image);
      bits = 8;
      break;
    case QImage::Format_Grayscale16:
      image = GreyToIndexed(image.convertToFormat(QImage::Format_Grayscale8));
      bits = 8;
      break;
    default:
      if (image.hasAlphaChannel()) {
        image = image.convertToFormat(QImage::Format_ARGB32);
        bits = 32;
      } else {
        image = image.convertToFormat(QImage::Format_RGB32);
      }
      break;
  }
  if (image.isNull()) return ERROR_NO_MEMORY;
  bmp.Pixels = std::move(image);
  bmp.Width = bmp.Pixels.width();
  bmp.Height = bmp.Pixels.height();
  bmp.BitsPerPixel = bits;
  return SUCCESS;
}

QImage BitmapToRgb32(const ImageBitmap& bmp) {
  const QImage& pixels = bmp.Pixels;
  if (pixels.format() == QImage::Format_RGB32 || pixels.format() == QImage::Format_ARGB32)
    return pixels;
  return pixels.convertToFormat(pixels.hasAlphaChannel() ? QImage::Format_ARGB32
                                                         : QImage::Format_RGB32);
}
