#include "fil/BitmapDepth.h"

#include <QHash>
#include <algorithm>
#include <vector>

#include "fil/MagickPixels.h"
#include "fil/MagickProgress.h"
#include "fil/MagickRuntime.h"
#include "krn/ltkrn.h"

namespace {
bool IsGrey(QRgb c) { return qRed(c) == qGreen(c) && qGreen(c) == qBlue(c); }

// The picture with a palette of its own colours, or a null image when it has more.
QImage ExactPalette(const QImage& rgb, int maxColours) {
  QHash<QRgb, int> index;
  QList<QRgb> palette;
  QImage out(rgb.size(), QImage::Format_Indexed8);
  if (out.isNull()) return out;
  QRgb last = 0;
  int lastIndex = -1;
  for (int y = 0; y < rgb.height(); ++y) {
    const QRgb* in = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
    uchar* row = out.scanLine(y);
    for (int x = 0; x < rgb.width(); ++x) {
      if (lastIndex < 0 || in[x] != last) {
        auto found = index.constFind(in[x]);
        if (found == index.constEnd()) {
          if (palette.size() == maxColours) return QImage();
          found = index.insert(in[x], int(palette.size()));
          palette.append(in[x]);
        }
        last = in[x];
        lastIndex = found.value();
      }
      row[x] = uchar(lastIndex);
    }
  }
  out.setColorTable(palette);
  return out;
}

int QuantizeWithMagick(ImageBitmap& bmp, int maxColours) {
  try {
    EnsureMagick();
    Magick::Image image = BitmapToMagickImage(bmp);
    image.quantizeColors(size_t(maxColours));
    image.quantizeDitherMethod(MagickCore::FloydSteinbergDitherMethod);
    image.quantizeDither(true);
    MagickProgress progress({0, 100});
    progress.Watch(image);
    int quantized = SUCCESS;
    try {
      image.quantize();
    } catch (const Magick::Warning&) {
    } catch (...) {
      quantized = MagickErrorResult(std::current_exception(), true);
    }
    if (progress.Stopped()) return ERROR_USER_ABORT;
    if (quantized != SUCCESS) return quantized;
    ImageBitmap out;
    if (const int rc = MagickImageToBitmap(image, out); rc != SUCCESS) return rc;
    if (out.Pixels.format() != QImage::Format_Indexed8 || out.Pixels.colorCount() > maxColours)
      return ERROR_FAILURE;
    bmp.Pixels = std::move(out.Pixels);
    return SUCCESS;
  } catch (...) {
    return MagickErrorResult(std::current_exception(), true);
  }
}
}  // namespace

bool IsGreyBitmap(const ImageBitmap& bmp) {
  if (bmp.Pixels.format() == QImage::Format_Indexed8) {
    const QList<QRgb> palette = bmp.Pixels.colorTable();
    return std::all_of(palette.begin(), palette.end(), IsGrey);
  }
  const QImage rgb = BitmapToRgb32(bmp);
  for (int y = 0; y < rgb.height(); ++y) {
    const QRgb* row = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
    if (!std::all_of(row, row + rgb.width(), IsGrey)) return false;
  }
  return true;
}

int DitherToBlackAndWhite(ImageBitmap& bmp) {
  if (!bmp.hasPixels()) return ERROR_NO_BITMAP;
  const QImage rgb = BitmapToRgb32(bmp);
  const int width = rgb.width();
  QImage out(rgb.size(), QImage::Format_Indexed8);
  if (out.isNull()) return ERROR_NO_MEMORY;
  out.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
  // Error of this row and the next, with a pixel of margin on each side.
  std::vector<int> current(size_t(width) + 2), next(size_t(width) + 2);
  for (int y = 0; y < rgb.height(); ++y) {
    const QRgb* in = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
    uchar* row = out.scanLine(y);
    std::fill(next.begin(), next.end(), 0);
    for (int x = 0; x < width; ++x) {
      const int grey = (qRed(in[x]) * 77 + qGreen(in[x]) * 150 + qBlue(in[x]) * 29) >> 8;
      const int value = grey + current[size_t(x) + 1] / 16;
      const int chosen = value >= 128 ? 255 : 0;
      row[x] = chosen ? 1 : 0;
      const int error = value - chosen;
      current[size_t(x) + 2] += error * 7;
      next[size_t(x)] += error * 3;
      next[size_t(x) + 1] += error * 5;
      next[size_t(x) + 2] += error;
    }
    std::swap(current, next);
  }
  bmp.Pixels = std::move(out);
  bmp.BitsPerPixel = 1;
  return SUCCESS;
}

bool ConvertBitmapDepthExactly(ImageBitmap& bmp, int bitsPerPixel) {
  if (!bmp.hasPixels() || bitsPerPixel < 1 || bitsPerPixel > 8) return false;
  const int maxColours = 1 << bitsPerPixel;
  if (bmp.Pixels.format() != QImage::Format_Indexed8 || bmp.Pixels.colorCount() > maxColours) {
    QImage exact = ExactPalette(BitmapToRgb32(bmp), maxColours);
    if (exact.isNull()) return false;
    bmp.Pixels = std::move(exact);
  }
  bmp.BitsPerPixel = bitsPerPixel;
  return true;
}

int ConvertBitmapDepth(ImageBitmap& bmp, int bitsPerPixel) {
  if (!bmp.hasPixels()) return ERROR_NO_BITMAP;
  if (!IsSupportedBits(bitsPerPixel)) return ERROR_BPP_NOT_SUPPORTED;
  if (bitsPerPixel >= 24) {
    const QImage::Format format = bitsPerPixel == 32 ? QImage::Format_ARGB32 : QImage::Format_RGB32;
    QImage pixels = BitmapToRgb32(bmp);
    if (pixels.format() != format) pixels = pixels.convertToFormat(format);
    if (pixels.isNull()) return ERROR_NO_MEMORY;
    bmp.Pixels = std::move(pixels);
    bmp.BitsPerPixel = bitsPerPixel;
    return SUCCESS;
  }
  const int maxColours = 1 << bitsPerPixel;
  if (bmp.Pixels.format() != QImage::Format_Indexed8 || bmp.Pixels.colorCount() > maxColours) {
    QImage exact = ExactPalette(BitmapToRgb32(bmp), maxColours);
    if (!exact.isNull()) {
      bmp.Pixels = std::move(exact);
    } else if (bitsPerPixel == 1) {
      if (const int rc = DitherToBlackAndWhite(bmp); rc != SUCCESS) return rc;
    } else if (const int rc = QuantizeWithMagick(bmp, maxColours); rc != SUCCESS) {
      return rc;
    }
  }
  bmp.BitsPerPixel = bitsPerPixel;
  return SUCCESS;
}
