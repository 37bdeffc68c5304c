#include "dis/PaintLayer.h"

#include <algorithm>
#include <cmath>

#include <QPainter>
#include <QPainterPath>

#include "dis/Orientation.h"
#include "dis/PaintGeometry.h"
#include "dis/Resampler.h"
#include "krn/ResultCodes.h"

namespace {
// Narrows an axis to the kept source pixels that the outputs [begin, end) sample, with a
// margin for the filters, so a zoomed view converts a few pixels rather than the picture.
void NarrowToNeeded(AxisMapping& m, qint64 begin, qint64 end) {
  const double ratio = double(m.sourceLength) / double(m.destLength);
  const auto whole = [](double v) { return qint64(std::clamp(v, -0x1p62, 0x1p62)); };
  const qint64 lo = whole(std::floor(double(begin - m.destBegin) * ratio)) - 2;
  const qint64 hi = whole(std::ceil(double(end - m.destBegin) * ratio)) + 2;
  m.keptBegin = std::max(m.keptBegin, std::min(lo, m.keptEnd - 1));
  m.keptEnd = std::min(m.keptEnd, std::max(hi, m.keptBegin + 1));
}

// The picture's kept pixels as shown, in the premultiplied 32-bit form the resampler takes.
QImage ShownPixels(const ImageBitmap& bmp, const PaintGeometry& g) {
  const PixelBox shown{g.shownSource.left + g.x.keptBegin, g.shownSource.top + g.y.keptBegin,
                       g.shownSource.left + g.x.keptEnd, g.shownSource.top + g.y.keptEnd};
  const QRect stored = UnorientBox(shown, bmp.Pixels.size(), g.perspective).toRect();
  QImage part = bmp.Pixels.copy(stored);
  const QImage::Format format = part.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                       : QImage::Format_RGB32;
  if (part.format() != format) part = part.convertToFormat(format);
  return OrientImage(part, g.perspective);
}

// The region, in stored pixels, as an Alpha8 mask over the layer's area.
QImage RegionMask(const ImageBitmap& bmp, const PaintGeometry& g, const QRect& area) {
  QImage mask(area.size(), QImage::Format_Alpha8);
  if (mask.isNull()) return mask;
  mask.fill(0);
  const double sx = double(g.x.destLength) / double(g.x.sourceLength);
  const double sy = double(g.y.destLength) / double(g.y.sourceLength);
  const QTransform toArea(sx, 0, 0, sy,
                          double(g.x.destBegin - area.left()) - double(g.shownSource.left) * sx,
                          double(g.y.destBegin - area.top()) - double(g.shownSource.top) * sy);
  QPainterPath path = (OrientTransform(bmp.Pixels.size(), g.perspective) * toArea)
                          .map(bmp.Region);
  // Bring far-away coordinates of a strong zoom near the area before rasterising.
  const QRectF near(-2, -2, area.width() + 4, area.height() + 4);
  if (!near.contains(path.controlPointRect())) {
    QPainterPath window;
    window.addRect(near);
    path = path.intersected(window);
  }
  QPainter painter(&mask);
  painter.fillPath(path, QColor(0, 0, 0, 255));
  return mask;
}
}  // namespace

int RenderPaintLayer(const PaintRequest& request, QSize device, const QRect& within,
                     PaintLayer& out) {
  out = PaintLayer{};
  const ImageBitmap& bmp = *request.bitmap;
  if (!bmp.hasPixels()) return ERROR_NO_BITMAP;
  PaintGeometry g;
  if (const int rc = ComputePaintGeometry(bmp.Pixels.size(), bmp.Perspective, request.source,
                                          request.destination, request.clip, device, g);
      rc != SUCCESS)
    return rc;
  QRect area = g.visible;
  if (!within.isNull()) area = area.intersected(within);
  if (area.isEmpty()) return SUCCESS;
  if (request.inRegion && bmp.Region.isEmpty()) return SUCCESS;

  NarrowToNeeded(g.x, area.left(), qint64(area.right()) + 1);
  NarrowToNeeded(g.y, area.top(), qint64(area.bottom()) + 1);
  const QImage kept = ShownPixels(bmp, g);
  if (kept.isNull()) return ERROR_NO_MEMORY;
  out.pixels = ResampleWindow(kept, g.x, g.y, area);
  if (out.pixels.isNull()) return ERROR_NO_MEMORY;
  if (request.inRegion) {
    out.mask = RegionMask(bmp, g, area);
    if (out.mask.isNull()) return ERROR_NO_MEMORY;
  }
  out.area = area;
  return SUCCESS;
}
