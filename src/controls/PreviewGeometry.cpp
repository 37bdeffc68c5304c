#include "controls/PreviewGeometry.h"

#include <algorithm>
#include <cmath>

namespace {
// Keeps a strong zoom or a far pan inside what QRect can hold, well short of overflow.
constexpr qint64 kLimit = 1 << 28;

int Bounded(qint64 v) { return int(std::clamp(v, -kLimit, kLimit)); }
int BoundedLength(double v) { return int(std::clamp(v, 0.0, double(kLimit))); }
}  // namespace

QRect PreviewTargetRect(QSize client) {
  if (client.width() <= 8 || client.height() <= 8) return QRect();
  return QRect(4, 4, client.width() - 8, client.height() - 8);
}

double PreviewZoomFactor(int zoomLevel) {
  if (zoomLevel > 1) return zoomLevel * 0.75;
  if (zoomLevel == 1) return 1.0;
  return std::pow(0.75, 2.0 - double(zoomLevel));
}

QRect PreviewZoomRect(QSize picture, QSize client, int zoomLevel, QPoint pan) {
  if (picture.isEmpty() || client.isEmpty()) return QRect();
  qint64 width = client.width();
  // At least one pixel across, like FitRectToBitmap, so a thin picture still shows.
  qint64 height = std::max<qint64>(1, width * picture.height() / picture.width());
  if (height > client.height()) {
    height = client.height();
    width = std::max<qint64>(1, height * picture.width() / picture.height());
  }
  const double factor = PreviewZoomFactor(zoomLevel);
  const int w = BoundedLength(double(width) * factor);
  const int h = BoundedLength(double(height) * factor);
  if (w <= 0 || h <= 0) return QRect();
  const qint64 centreX = client.width() / 2 + qint64(pan.x());
  const qint64 centreY = client.height() / 2 + qint64(pan.y());
  return QRect(Bounded(centreX - w / 2), Bounded(centreY - h / 2), w, h);
}
