#include "img/EffectSupport.h"

#include <atomic>

#include "dis/RegionRaster.h"
#include "img/Neighbourhood.h"

namespace {
bool IsGrey(QRgb pixel) { return qRed(pixel) == qGreen(pixel) && qGreen(pixel) == qBlue(pixel); }

bool IsGreyThroughout(const QImage& image) {
  std::atomic<bool> grey{true};
  const int width = image.width();
  ForEachRowBandToTheEnd(image.height(), [&](int first, int end) {
    for (int y = first; y < end && grey; ++y) {
      const QRgb* row = SourceRow(image, y);
      for (int x = 0; x < width; ++x)
        if (!IsGrey(row[x]) || qAlpha(row[x]) != 255) {
          grey = false;
          return;
        }
    }
  });
  return grey;
}

QImage ToGreyIndexed(const QImage& image) {
  QImage grey(image.size(), QImage::Format_Indexed8);
  if (grey.isNull()) return grey;
  QList<QRgb> ramp(256);
  for (int i = 0; i < 256; ++i) ramp[i] = qRgb(i, i, i);
  grey.setColorTable(ramp);
  uchar* bits = grey.bits();
  const qsizetype stride = grey.bytesPerLine();
  const int width = image.width();
  ForEachRowBandToTheEnd(image.height(), [&](int first, int end) {
    for (int y = first; y < end; ++y) {
      const QRgb* in = SourceRow(image, y);
      uchar* out = bits + stride * y;
      for (int x = 0; x < width; ++x) out[x] = uchar(qBlue(in[x]));
    }
  });
  return grey;
}

// Outside the region the result takes the original's pixels back.
void KeepOutsideRegion(const ImageBitmap& bmp, QImage& result) {
  const QImage mask = RasterizeRegion(bmp.Region, bmp.Pixels.size());
  QImage original = EffectSource(bmp);
  if (original.format() != result.format()) {
    // A transparent original keeps its transparency outside; the inside takes it too.
    original = original.convertToFormat(QImage::Format_ARGB32);
    result = result.convertToFormat(QImage::Format_ARGB32);
  }
  const TargetRows out(result);
  const int width = result.width();
  ForEachRowBandToTheEnd(result.height(), [&](int first, int end) {
    for (int y = first; y < end; ++y) {
      const uchar* inside = mask.constScanLine(y);
      const QRgb* before = SourceRow(original, y);
      QRgb* row = out[y];
      for (int x = 0; x < width; ++x)
        if (inside[x] < 128) row[x] = before[x];
    }
  });
}
}  // namespace

QImage EffectSource(const ImageBitmap& bmp) { return BitmapToRgb32(bmp); }

QImage NewEffectTarget(const QImage& source) { return QImage(source.size(), source.format()); }

bool IsGreyPalette(const QList<QRgb>& palette) {
  for (QRgb entry : palette)
    if (!IsGrey(entry)) return false;
  return true;
}

int FinishEffect(ImageBitmap& bmp, QImage result) {
  if (result.isNull()) return ERROR_NO_MEMORY;
  if (result.format() == QImage::Format_Indexed8) result = result.convertToFormat(EffectSource(bmp).format());
  if (!bmp.Region.isEmpty()) KeepOutsideRegion(bmp, result);
  if (result.isNull()) return ERROR_NO_MEMORY;
  const bool wasGrey = bmp.Pixels.format() == QImage::Format_Indexed8 && IsGreyPalette(bmp.Pixels.colorTable());
  if (wasGrey && IsGreyThroughout(result)) {
    QImage grey = ToGreyIndexed(result);
    if (grey.isNull()) return ERROR_NO_MEMORY;
    bmp.Pixels = std::move(grey);
    bmp.BitsPerPixel = 8;
    bmp.Order = ColorOrder::Gray;
    return SUCCESS;
  }
  bmp.Pixels = std::move(result);
  bmp.BitsPerPixel = bmp.Pixels.format() == QImage::Format_ARGB32 ? 32 : 24;
  if (bmp.Order == ColorOrder::Gray) bmp.Order = ColorOrder::Bgr;
  return SUCCESS;
}

int MapComponents(ImageBitmap& bmp, const ComponentTable& table) {
  return MapColours(bmp, [&table](QRgb pixel) {
    return qRgb(table[qRed(pixel)], table[qGreen(pixel)], table[qBlue(pixel)]);
  });
}

int ApplyByRowBands(ImageBitmap& bmp, const RowBandWork& work, int minimumBand) {
  if (!bmp.hasPixels()) return ERROR_NO_BITMAP;
  const QImage source = EffectSource(bmp);
  QImage target = NewEffectTarget(source);
  if (target.isNull()) return ERROR_NO_MEMORY;
  const TargetRows out(target);
  const bool finished = ForEachRowBand(
      source.height(), [&](int first, int end) { work(source, out, first, end); }, 0, 100, minimumBand);
  if (!finished) return ERROR_USER_ABORT;
  return FinishEffect(bmp, std::move(target));
}

std::optional<int> NeighbourhoodShortcut(const ImageBitmap& bmp, int size) {
  if (size < 0 || size > kLargestNeighbourhood) return ERROR_INV_PARAMETER;
  if (!bmp.hasPixels()) return ERROR_NO_BITMAP;
  if (size <= 1) return ReportProgress(100) ? SUCCESS : ERROR_USER_ABORT;
  return std::nullopt;
}
