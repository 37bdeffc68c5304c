#include "dis/DevicePixels.h"

#include <cmath>

#include <QPaintEngine>
#include <QPixmap>

namespace {
// The memory the painter's engine draws into. For a widget this is its backing store,
// because painting on a widget is redirected there.
QImage DeviceImage(QPainter& painter) {
  QPaintEngine* engine = painter.paintEngine();
  QPaintDevice* device = engine ? engine->paintDevice() : nullptr;
  if (!device) return {};
  if (device->devType() == QInternal::Image) return *static_cast<QImage*>(device);
  if (device->devType() == QInternal::Pixmap) return static_cast<QPixmap*>(device)->toImage();
  return {};
}

bool IsWhole(qreal v) { return v == std::floor(v) && std::abs(v) < 1e9; }
}  // namespace

bool CanReadDevicePixels(QPainter& painter) { return !DeviceImage(painter).isNull(); }

QImage ReadDevicePixels(QPainter& painter, const QRect& area) {
  const QImage image = DeviceImage(painter);
  if (image.isNull()) return {};
  const QTransform t = painter.deviceTransform();
  if (t.type() <= QTransform::TxTranslate && IsWhole(t.dx()) && IsWhole(t.dy())) {
    // copy() fills what lies outside the image with zeros rather than reading there.
    return image.copy(area.translated(int(t.dx()), int(t.dy())))
        .convertToFormat(QImage::Format_RGB32);
  }
  // A scaled device (a high-density screen): the device pixel under each pixel's centre.
  const QRect covered = t.mapRect(QRectF(area)).toAlignedRect().intersected(image.rect());
  const QImage source = image.copy(covered).convertToFormat(QImage::Format_RGB32);
  QImage out(area.size(), QImage::Format_RGB32);
  if (out.isNull() || source.isNull()) return out;
  out.fill(0xff000000u);
  for (int y = 0; y < area.height(); ++y) {
    QRgb* line = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < area.width(); ++x) {
      const QPointF p = t.map(QPointF(area.left() + x + 0.5, area.top() + y + 0.5));
      const int sx = int(std::floor(p.x())) - covered.left();
      const int sy = int(std::floor(p.y())) - covered.top();
      if (sx >= 0 && sy >= 0 && sx < source.width() && sy < source.height())
        line[x] = reinterpret_cast<const QRgb*>(source.constScanLine(sy))[sx];
    }
  }
  return out;
}
