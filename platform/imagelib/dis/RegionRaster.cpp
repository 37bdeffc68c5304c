#include "dis/RegionRaster.h"

#include <utility>
#include <vector>

#include <QPainter>

namespace {
// Past this many elements path clipping takes seconds; a few hundred rectangles or curves
// stay well under it.
constexpr int kLargeRegionElements = 2000;
}

bool IsLargeRegion(const QPainterPath& region) {
  return region.elementCount() > kLargeRegionElements;
}

QImage RasterizeRegion(const QPainterPath& region, QSize picture) {
  QImage mask(picture, QImage::Format_Alpha8);
  if (mask.isNull()) return mask;
  mask.fill(0);
  QPainterPath path = region;
  const QRectF bounds(QPointF(0, 0), QSizeF(picture));
  // Keep stray coordinates of a caller's path away from the rasteriser's fixed-point range.
  if (!bounds.contains(path.controlPointRect())) {
    QPainterPath picturePath;
    picturePath.addRect(bounds);
    path = path.intersected(picturePath);
  }
  QPainter painter(&mask);
  painter.fillPath(path, QColor(0, 0, 0, 255));
  return mask;
}

QRegion RegionFromMask(const QImage& mask) {
  std::vector<QRect> rects;
  std::vector<std::pair<int, int>> runs, previous;
  size_t bandStart = 0;
  for (int y = 0; y < mask.height(); ++y) {
    const uchar* line = mask.constScanLine(y);
    runs.clear();
    for (int x = 0; x < mask.width();) {
      if (line[x] < 128) {
        ++x;
        continue;
      }
      const int start = x;
      while (x < mask.width() && line[x] >= 128) ++x;
      runs.emplace_back(start, x);
    }
    if (!runs.empty() && runs == previous) {
      for (size_t i = bandStart; i < rects.size(); ++i) rects[i].setBottom(y);
      continue;
    }
    bandStart = rects.size();
    for (const auto& [start, end] : runs) rects.emplace_back(start, y, end - start, 1);
    std::swap(runs, previous);
  }
  QRegion region;
  if (!rects.empty()) region.setRects(rects.data(), int(rects.size()));
  return region;
}

QPainterPath PathFromRegion(const QRegion& region) {
  QPainterPath path;
  path.addRegion(region);
  return path;
}
