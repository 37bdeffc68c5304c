#include <algorithm>

#include "krn/ltkrn.h"
#include "krn/ParallelRows.h"

namespace {
bool ValidSize(int width, int height) { return width >= 0 && height >= 0; }

QList<QRgb> GreyRamp(int entries) {
  QList<QRgb> ramp(entries);
  for (int i = 0; i < entries; ++i) {
    const int level = entries == 1 ? 0 : i * 255 / (entries - 1);
    ramp[i] = qRgb(level, level, level);
  }
  return ramp;
}

int NearestPaletteIndex(const QList<QRgb>& palette, QRgb colour) {
  int best = 0;
  int bestDistance = INT32_MAX;
  for (int i = 0; i < palette.size(); ++i) {
    const int dr = qRed(palette[i]) - qRed(colour);
    const int dg = qGreen(palette[i]) - qGreen(colour);
    const int db = qBlue(palette[i]) - qBlue(colour);
    const int distance = dr * dr + dg * dg + db * db;
    if (distance < bestDistance) {
      bestDistance = distance;
      best = i;
    }
  }
  return best;
}
}  // namespace

int InitBitmap(ImageBitmap& bmp, int width, int height, int bitsPerPixel) {
  if (!ValidSize(width, height)) return ERROR_INV_PARAMETER;
  if (bitsPerPixel != 0 && !IsSupportedBits(bitsPerPixel)) return ERROR_BPP_NOT_SUPPORTED;
  bmp = ImageBitmap{};
  bmp.Width = width;
  bmp.Height = height;
  bmp.BitsPerPixel = bitsPerPixel;
  return SUCCESS;
}

int FreeBitmap(ImageBitmap& bmp) {
  bmp.Pixels = QImage();
  bmp.Region = QPainterPath();
  return SUCCESS;
}

int AllocateBitmapPixels(ImageBitmap& bmp) {
  if (bmp.Width <= 0 || bmp.Height <= 0) return ERROR_INV_PARAMETER;
  const QImage::Format format = ImageFormatForBits(bmp.BitsPerPixel);
  if (format == QImage::Format_Invalid) return ERROR_BPP_NOT_SUPPORTED;
  QImage pixels(bmp.Width, bmp.Height, format);
  if (pixels.isNull()) return ERROR_NO_MEMORY;
  if (format == QImage::Format_Indexed8) {
    pixels.setColorTable(GreyRamp(1 << std::min(bmp.BitsPerPixel, 8)));
    pixels.fill(0);
  } else {
    pixels.fill(format == QImage::Format_ARGB32 ? qRgba(0, 0, 0, 255) : qRgb(0, 0, 0));
  }
  bmp.Pixels = std::move(pixels);
  return SUCCESS;
}

int CreateBitmap(ImageBitmap& bmp, int memoryType, int width, int height, int bitsPerPixel,
                 ColorOrder order, const void* data, ViewPerspective perspective) {
  if (memoryType != 1 || data != nullptr) return ERROR_INV_PARAMETER;
  if (width <= 0 || height <= 0) return ERROR_INV_PARAMETER;
  if (const int rc = InitBitmap(bmp, width, height, bitsPerPixel); rc != SUCCESS) return rc;
  bmp.Order = order;
  bmp.Perspective = perspective;
  return AllocateBitmapPixels(bmp);
}

int CopyBitmap(ImageBitmap& dst, const ImageBitmap& src) {
  if (&dst != &src) dst = src;
  return SUCCESS;
}

int CopyBitmapAttributes(ImageBitmap& dst, const ImageBitmap& src) {
  dst.Order = src.Order;
  dst.Perspective = src.Perspective;
  dst.XResolution = src.XResolution;
  dst.YResolution = src.YResolution;
  return SUCCESS;
}

int DuplicatePalette(ImageBitmap& dst, const ImageBitmap& src) {
  if (!dst.hasPixels()) return ERROR_NO_BITMAP;
  const bool dstIndexed = dst.Pixels.format() == QImage::Format_Indexed8;
  const bool srcIndexed = src.Pixels.format() == QImage::Format_Indexed8;
  if (!dstIndexed || !srcIndexed) return SUCCESS;  // true colour has no palette
  // Never leave an index pointing past the end of a shorter palette.
  const QList<QRgb> palette = src.Pixels.colorTable();
  if (palette.size() < dst.Pixels.colorCount()) {
    const uchar last = uchar(palette.size() - 1);
    for (int y = 0; y < dst.Height; ++y) {
      uchar* row = dst.Pixels.scanLine(y);
      for (int x = 0; x < dst.Width; ++x) row[x] = std::min(row[x], last);
    }
  }
  dst.Pixels.setColorTable(palette);
  return SUCCESS;
}

int FillBitmap(ImageBitmap& bmp, QRgb colour) {
  if (!bmp.hasPixels()) return ERROR_NO_BITMAP;
  if (bmp.Pixels.format() == QImage::Format_Indexed8)
    bmp.Pixels.fill(uint(NearestPaletteIndex(bmp.Pixels.colorTable(), colour)));
  else
    bmp.Pixels.fill(qRgba(qRed(colour), qGreen(colour), qBlue(colour), 255));
  return SUCCESS;
}

int ApplyGrayScale(ImageBitmap& bmp, int bitsPerPixel) {
  if (bitsPerPixel != 8) return ERROR_BPP_NOT_SUPPORTED;
  if (!bmp.hasPixels()) return ERROR_NO_BITMAP;
  const QImage source = BitmapToRgb32(bmp);
  QImage grey(source.size(), QImage::Format_Indexed8);
  if (grey.isNull()) return ERROR_NO_MEMORY;
  grey.setColorTable(GreyRamp(256));
  uchar* bits = grey.bits();
  const qsizetype stride = grey.bytesPerLine();
  const int width = source.width();
  const bool finished = ForEachRowBand(source.height(), [&](int first, int end) {
    for (int y = first; y < end; ++y) {
      const QRgb* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
      uchar* out = bits + stride * y;
      for (int x = 0; x < width; ++x)
        out[x] = uchar((qRed(in[x]) * 77 + qGreen(in[x]) * 150 + qBlue(in[x]) * 29) >> 8);
    }
  });
  if (!finished) return ERROR_USER_ABORT;
  bmp.Pixels = std::move(grey);
  bmp.BitsPerPixel = 8;
  bmp.Order = ColorOrder::Gray;
  return SUCCESS;
}
