#include <cmath>
#include <vector>

#include "dis/Orientation.h"
#include "dis/RegionRaster.h"
#include "dis/ltdis.h"

namespace {
// The ants: four pixels black, four white; frame styles 0..7 slide them one pixel a step.
constexpr qreal kDash = 4;
constexpr qreal kPeriod = 2 * kDash;
// How far outside the device outlines are still drawn, so clipped ends never show.
constexpr qreal kMargin = 16;

// The boundary of a mask's pixels as closed polygons along the pixel edges, each edge
// walked with the inside on its right; vertices only where the direction changes.
std::vector<QPolygonF> TraceMask(const QImage& mask) {
  const int w = mask.width(), h = mask.height();
  const auto inside = [&](int x, int y) {
    return x >= 0 && y >= 0 && x < w && y < h && mask.constScanLine(y)[x] >= 128;
  };
  // Directions clockwise on screen: east, south, west, north; bit d marks an edge leaving
  // the lattice point in direction d.
  constexpr int dx[4] = {1, 0, -1, 0}, dy[4] = {0, 1, 0, -1};
  std::vector<uchar> leaving(size_t(w + 1) * size_t(h + 1), 0);
  const auto at = [&](int x, int y) -> uchar& { return leaving[size_t(y) * size_t(w + 1) + x]; };
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      if (!inside(x, y)) continue;
      if (!inside(x, y - 1)) at(x, y) |= 1;
      if (!inside(x + 1, y)) at(x + 1, y) |= 2;
      if (!inside(x, y + 1)) at(x + 1, y + 1) |= 4;
      if (!inside(x - 1, y)) at(x, y + 1) |= 8;
    }
  }
  std::vector<QPolygonF> outlines;
  for (int y0 = 0; y0 <= h; ++y0) {
    for (int x0 = 0; x0 <= w; ++x0) {
      while (at(x0, y0) != 0) {
        QPolygonF polygon;
        int x = x0, y = y0;
        int d = 0;
        while (!(at(x, y) & (1 << d))) ++d;
        polygon << QPointF(x, y);
        for (;;) {
          at(x, y) &= uchar(~(1 << d));
          x += dx[d];
          y += dy[d];
          // Turning right first keeps two pixels that touch at a corner apart.
          int next = -1;
          for (int turn : {1, 0, 3})
            if (at(x, y) & (1 << ((d + turn) % 4))) {
              next = (d + turn) % 4;
              break;
            }
          if (next < 0) break;
          if (next != d) polygon << QPointF(x, y);
          d = next;
        }
        polygon << QPointF(x, y);
        outlines.push_back(std::move(polygon));
      }
    }
  }
  return outlines;
}

std::vector<QPolygonF> Outline(const ImageBitmap& bmp) {
  if (IsLargeRegion(bmp.Region))
    return TraceMask(RasterizeRegion(bmp.Region, bmp.Pixels.size()));
  std::vector<QPolygonF> outlines;
  for (QPolygonF polygon : bmp.Region.simplified().toSubpathPolygons()) {
    if (polygon.size() < 2) continue;
    if (polygon.first() != polygon.last()) polygon << polygon.first();
    outlines.push_back(std::move(polygon));
  }
  return outlines;
}

// Liang-Barsky: the part [t0, t1] of the segment a-b inside bounds; false when none is.
bool ClipSegment(QPointF a, QPointF b, const QRectF& bounds, qreal& t0, qreal& t1) {
  t0 = 0;
  t1 = 1;
  const qreal d[2] = {b.x() - a.x(), b.y() - a.y()};
  const qreal lo[2] = {bounds.left() - a.x(), bounds.top() - a.y()};
  const qreal hi[2] = {bounds.right() - a.x(), bounds.bottom() - a.y()};
  for (int i = 0; i < 2; ++i) {
    if (d[i] == 0) {
      if (lo[i] > 0 || hi[i] < 0) return false;
      continue;
    }
    qreal enter = lo[i] / d[i], leave = hi[i] / d[i];
    if (enter > leave) std::swap(enter, leave);
    t0 = std::max(t0, enter);
    t1 = std::min(t1, leave);
    if (t0 > t1) return false;
  }
  return true;
}

// Draws the parts of a closed polygon (device coordinates) that come near the device, each
// part's dashes starting where they would on the whole outline.
class AntsPainter {
 public:
  AntsPainter(QPainter& painter, const QRectF& bounds, int frameStyle)
      : painter_(painter), bounds_(bounds), frameStyle_(frameStyle) {}

  void draw(const QPolygonF& polygon) {
    qreal walked = 0;
    for (int i = 0; i + 1 < polygon.size(); ++i) {
      const QPointF a = polygon[i], b = polygon[i + 1];
      const qreal length = std::hypot(b.x() - a.x(), b.y() - a.y());
      qreal t0, t1;
      if (!ClipSegment(a, b, bounds_, t0, t1)) {
        flush();
        walked += length;
        continue;
      }
      if (part_.isEmpty() || t0 > 0) {
        flush();
        part_ << a + (b - a) * t0;
        partStart_ = walked + t0 * length;
      }
      part_ << a + (b - a) * t1;
      if (t1 < 1) flush();
      walked += length;
    }
    flush();
  }

 private:
  void flush() {
    if (part_.size() >= 2) {
      QPen pen(Qt::white, 1);
      pen.setCosmetic(true);
      painter_.setPen(pen);
      painter_.drawPolyline(part_);
      pen.setColor(Qt::black);
      pen.setDashPattern({kDash, kDash});
      pen.setDashOffset(std::fmod(frameStyle_ + partStart_, kPeriod));
      painter_.setPen(pen);
      painter_.drawPolyline(part_);
    }
    part_.clear();
  }

  QPainter& painter_;
  QRectF bounds_;
  int frameStyle_;
  QPolygonF part_;
  qreal partStart_ = 0;
};
}  // namespace

int DrawRegionOutline(DeviceContext& dc, const ImageBitmap& bmp, const RegionTransform& transform,
                      int frameStyle) {
  if (transform.xDenominator == 0 || transform.yDenominator == 0) return ERROR_INV_PARAMETER;
  if (frameStyle < 0 || frameStyle > 7) return ERROR_INV_PARAMETER;
  QPainter& painter = dc.painter();
  if (!painter.isActive()) return ERROR_INV_PARAMETER;
  if (!bmp.hasPixels()) return ERROR_NO_BITMAP;
  if (bmp.Region.isEmpty()) return SUCCESS;

  const QTransform toDevice =
      OrientTransform(bmp.Pixels.size(), bmp.Perspective) *
      QTransform(qreal(transform.xNumerator) / transform.xDenominator, 0, 0,
                 qreal(transform.yNumerator) / transform.yDenominator, transform.xOffset,
                 transform.yOffset);
  const QRectF bounds(-kMargin, -kMargin, dc.size().width() + 2 * kMargin,
                      dc.size().height() + 2 * kMargin);
  painter.save();
  painter.resetTransform();
  painter.setOpacity(1.0);
  painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setBrush(Qt::NoBrush);
  AntsPainter ants(painter, bounds, frameStyle);
  for (const QPolygonF& polygon : Outline(bmp)) ants.draw(toDevice.map(polygon));
  painter.restore();
  return SUCCESS;
}
