#include "dis/Orientation.h"

namespace {
ViewPerspective Checked(ViewPerspective perspective) {
  return perspective >= TopLeft && perspective <= LeftBottom ? perspective : TopLeft;
}

ViewPerspective Inverse(ViewPerspective perspective) {
  switch (Checked(perspective)) {
    case RightTop:
      return LeftBottom;
    case LeftBottom:
      return RightTop;
    default:
      return Checked(perspective);
  }
}

// Stored position of the shown pixel (sx, sy): x = x0 + sx * xx + sy * xy, likewise y.
struct PixelMap {
  int x0, xx, xy, y0, yx, yy;
};

PixelMap ShownToStored(int w, int h, ViewPerspective perspective) {
  switch (Checked(perspective)) {
    case TopRight:
      return {w - 1, -1, 0, 0, 0, 1};
    case BottomRight:
      return {w - 1, -1, 0, h - 1, 0, -1};
    case BottomLeft:
      return {0, 1, 0, h - 1, 0, -1};
    case LeftTop:
      return {0, 0, 1, 0, 1, 0};
    case RightTop:
      return {0, 0, 1, h - 1, -1, 0};
    case RightBottom:
      return {w - 1, 0, -1, h - 1, -1, 0};
    case LeftBottom:
      return {w - 1, 0, -1, 0, 1, 0};
    default:
      return {0, 1, 0, 0, 0, 1};
  }
}
}  // namespace

bool SwapsAxes(ViewPerspective perspective) { return Checked(perspective) >= LeftTop; }

QSize DisplaySize(QSize stored, ViewPerspective perspective) {
  return SwapsAxes(perspective) ? stored.transposed() : stored;
}

PixelBox OrientBox(const PixelBox& b, QSize stored, ViewPerspective perspective) {
  const qint64 w = stored.width(), h = stored.height();
  switch (Checked(perspective)) {
    case TopRight:
      return {w - b.right, b.top, w - b.left, b.bottom};
    case BottomRight:
      return {w - b.right, h - b.bottom, w - b.left, h - b.top};
    case BottomLeft:
      return {b.left, h - b.bottom, b.right, h - b.top};
    case LeftTop:
      return {b.top, b.left, b.bottom, b.right};
    case RightTop:
      return {h - b.bottom, b.left, h - b.top, b.right};
    case RightBottom:
      return {h - b.bottom, w - b.right, h - b.top, w - b.left};
    case LeftBottom:
      return {b.top, w - b.right, b.bottom, w - b.left};
    default:
      return b;
  }
}

PixelBox UnorientBox(const PixelBox& box, QSize stored, ViewPerspective perspective) {
  return OrientBox(box, DisplaySize(stored, perspective), Inverse(perspective));
}

QTransform OrientTransform(QSize stored, ViewPerspective perspective) {
  const qreal w = stored.width(), h = stored.height();
  // QTransform(m11, m12, m21, m22, dx, dy): x' = m11 x + m21 y + dx, y' = m12 x + m22 y + dy.
  switch (Checked(perspective)) {
    case TopRight:
      return QTransform(-1, 0, 0, 1, w, 0);
    case BottomRight:
      return QTransform(-1, 0, 0, -1, w, h);
    case BottomLeft:
      return QTransform(1, 0, 0, -1, 0, h);
    case LeftTop:
      return QTransform(0, 1, 1, 0, 0, 0);
    case RightTop:
      return QTransform(0, 1, -1, 0, h, 0);
    case RightBottom:
      return QTransform(0, -1, -1, 0, h, w);
    case LeftBottom:
      return QTransform(0, -1, 1, 0, 0, w);
    default:
      return QTransform();
  }
}

QImage OrientImage(const QImage& stored, ViewPerspective perspective) {
  if (Checked(perspective) == TopLeft || stored.isNull()) return stored;
  Q_ASSERT(stored.depth() == 32);
  const int w = stored.width(), h = stored.height();
  const QSize size = DisplaySize(stored.size(), perspective);
  QImage shown(size, stored.format());
  if (shown.isNull()) return shown;
  const bool swap = SwapsAxes(perspective);
  shown.setDotsPerMeterX(swap ? stored.dotsPerMeterY() : stored.dotsPerMeterX());
  shown.setDotsPerMeterY(swap ? stored.dotsPerMeterX() : stored.dotsPerMeterY());
  const PixelMap m = ShownToStored(w, h, perspective);
  const qsizetype stride = stored.bytesPerLine() / 4;
  const QRgb* in = reinterpret_cast<const QRgb*>(stored.constBits());
  for (int sy = 0; sy < size.height(); ++sy) {
    QRgb* out = reinterpret_cast<QRgb*>(shown.scanLine(sy));
    qsizetype x = m.x0 + qsizetype(sy) * m.xy, y = m.y0 + qsizetype(sy) * m.yy;
    for (int sx = 0; sx < size.width(); ++sx, x += m.xx, y += m.yx) out[sx] = in[y * stride + x];
  }
  return shown;
}

QImage UnorientImage(const QImage& shown, ViewPerspective perspective) {
  return OrientImage(shown, Inverse(perspective));
}
