#include <algorithm>
#include <array>

#include "dis/PixelBox.h"
#include "dis/RegionRaster.h"
#include "dis/ltdis.h"

namespace {
QPainterPath Combine(const QPainterPath& existing, const QPainterPath& added,
                     RegionCombine combine, QSize picture) {
  if (combine == RegionCombine::Set) return added;
  if (!IsLargeRegion(existing) && !IsLargeRegion(added)) {
    switch (combine) {
      case RegionCombine::And:
        return existing.intersected(added);
      case RegionCombine::Or:
        return existing.united(added);
      case RegionCombine::Xor:
        return existing.united(added).subtracted(existing.intersected(added));
      default:
        return existing.subtracted(added);
    }
  }
  const QRegion a = RegionFromMask(RasterizeRegion(existing, picture));
  const QRegion b = RegionFromMask(RasterizeRegion(added, picture));
  switch (combine) {
    case RegionCombine::And:
      return PathFromRegion(a & b);
    case RegionCombine::Or:
      return PathFromRegion(a | b);
    case RegionCombine::Xor:
      return PathFromRegion(a ^ b);
    default:
      return PathFromRegion(a - b);
  }
}

int SetRegion(ImageBitmap& bmp, const QPainterPath& added, RegionCombine combine) {
  QPainterPath region = Combine(bmp.Region, added, combine, bmp.Pixels.size());
  const QRectF bounds = region.boundingRect();
  if (bounds.width() <= 0 || bounds.height() <= 0) region = QPainterPath();
  bmp.Region = std::move(region);
  return SUCCESS;
}

// The rectangle in picture coordinates; false for an inverted or empty one.
bool ToPictureRect(const QRect& rect, QRectF& out) {
  const PixelBox box = PixelBox::fromRect(rect);
  if (box.isEmpty()) return false;
  out = QRectF(double(box.left), double(box.top), double(box.width()), double(box.height()));
  return true;
}

QRectF PictureRect(const ImageBitmap& bmp) { return QRectF(QPointF(0, 0), bmp.Pixels.size()); }
}  // namespace

bool HasBitmapRegion(const ImageBitmap& bmp) { return !bmp.Region.isEmpty(); }

int FreeBitmapRegion(ImageBitmap& bmp) {
  bmp.Region = QPainterPath();
  return SUCCESS;
}

int SetRectRegion(ImageBitmap& bmp, const QRect& rect, RegionCombine combine) {
  if (!bmp.hasPixels()) return ERROR_NO_BITMAP;
  QRectF r;
  if (!ToPictureRect(rect, r)) return ERROR_INV_PARAMETER;
  QPainterPath path;
  r = r.intersected(PictureRect(bmp));
  if (!r.isEmpty()) path.addRect(r);
  return SetRegion(bmp, path, combine);
}

int SetEllipseRegion(ImageBitmap& bmp, const QRect& rect, RegionCombine combine) {
  if (!bmp.hasPixels()) return ERROR_NO_BITMAP;
  QRectF r;
  if (!ToPictureRect(rect, r)) return ERROR_INV_PARAMETER;
  QPainterPath path;
  if (r.intersects(PictureRect(bmp))) {
    path.addEllipse(r);
    if (!PictureRect(bmp).contains(r)) {
      QPainterPath picture;
      picture.addRect(PictureRect(bmp));
      path = path.intersected(picture);
    }
  }
  return SetRegion(bmp, path, combine);
}

int SetColorRegion(ImageBitmap& bmp, QRgb lower, QRgb upper, RegionCombine combine) {
  if (!bmp.hasPixels()) return ERROR_NO_BITMAP;
  const int rLo = std::min(qRed(lower), qRed(upper)), rHi = std::max(qRed(lower), qRed(upper));
  const int gLo = std::min(qGreen(lower), qGreen(upper));
  const int gHi = std::max(qGreen(lower), qGreen(upper));
  const int bLo = std::min(qBlue(lower), qBlue(upper)), bHi = std::max(qBlue(lower), qBlue(upper));
  const auto within = [&](QRgb c) {
    return qRed(c) >= rLo && qRed(c) <= rHi && qGreen(c) >= gLo && qGreen(c) <= gHi &&
           qBlue(c) >= bLo && qBlue(c) <= bHi;
  };

  QImage mask(bmp.Pixels.size(), QImage::Format_Alpha8);
  if (mask.isNull()) return ERROR_NO_MEMORY;
  if (bmp.Pixels.format() == QImage::Format_Indexed8) {
    // Decide once per palette entry; indices past the palette show black, as Qt paints them.
    std::array<uchar, 256> inside{};
    const QList<QRgb> palette = bmp.Pixels.colorTable();
    for (int i = 0; i < 256; ++i)
      inside[size_t(i)] = within(i < palette.size() ? palette[i] : qRgb(0, 0, 0)) ? 255 : 0;
    for (int y = 0; y < mask.height(); ++y) {
      const uchar* in = bmp.Pixels.constScanLine(y);
      uchar* out = mask.scanLine(y);
      for (int x = 0; x < mask.width(); ++x) out[x] = inside[in[x]];
    }
  } else {
    const QImage rgb = BitmapToRgb32(bmp);
    if (rgb.isNull()) return ERROR_NO_MEMORY;
    for (int y = 0; y < mask.height(); ++y) {
      const QRgb* in = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
      uchar* out = mask.scanLine(y);
      for (int x = 0; x < mask.width(); ++x) out[x] = within(in[x]) ? 255 : 0;
    }
  }
  return SetRegion(bmp, PathFromRegion(RegionFromMask(mask)), combine);
}

int MakeRegionMask(const ImageBitmap& bmp, ImageBitmap& mask) {
  if (!bmp.hasPixels()) return ERROR_NO_BITMAP;
  const QImage inside = RasterizeRegion(bmp.Region, bmp.Pixels.size());
  QImage pixels(bmp.Pixels.size(), QImage::Format_Indexed8);
  if (inside.isNull() || pixels.isNull()) return ERROR_NO_MEMORY;
  pixels.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
  for (int y = 0; y < pixels.height(); ++y) {
    const uchar* in = inside.constScanLine(y);
    uchar* out = pixels.scanLine(y);
    for (int x = 0; x < pixels.width(); ++x) out[x] = in[x] >= 128 ? 1 : 0;
  }
  ImageBitmap result;
  result.Width = pixels.width();
  result.Height = pixels.height();
  result.BitsPerPixel = 1;
  result.Pixels = std::move(pixels);
  CopyBitmapAttributes(result, bmp);
  mask = std::move(result);
  return SUCCESS;
}
