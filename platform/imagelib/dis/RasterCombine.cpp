#include "dis/RasterCombine.h"

namespace {
QRgb Over(QRgb top, QRgb under) {
  const uint a = qAlpha(top);
  if (a == 255) return top | 0xff000000u;
  if (a == 0) return under;
  const uint keep = 255 - a;
  return qRgb(int(qRed(top) + (qRed(under) * keep + 127) / 255),
              int(qGreen(top) + (qGreen(under) * keep + 127) / 255),
              int(qBlue(top) + (qBlue(under) * keep + 127) / 255));
}
}  // namespace

void CombineInto(QImage& canvas, QPoint origin, const PaintLayer& layer, RasterOp op) {
  const QRect target = layer.area.intersected(QRect(origin, canvas.size()));
  if (target.isEmpty()) return;
  const int lx = target.left() - layer.area.left(), cx = target.left() - origin.x();
  for (int y = target.top(); y <= target.bottom(); ++y) {
    const int ly = y - layer.area.top();
    const QRgb* in = reinterpret_cast<const QRgb*>(layer.pixels.constScanLine(ly)) + lx;
    const uchar* mask = layer.mask.isNull() ? nullptr : layer.mask.constScanLine(ly) + lx;
    QRgb* out = reinterpret_cast<QRgb*>(canvas.scanLine(y - origin.y())) + cx;
    for (int i = 0; i < target.width(); ++i) {
      if (mask && mask[i] < 128) continue;
      // The picture's colour as premultiplied, that is as if laid on black.
      const QRgb colour = in[i] | 0xff000000u;
      switch (op) {
        case RasterOp::Copy:
          out[i] = Over(in[i], out[i]);
          break;
        case RasterOp::And:
          out[i] = colour & out[i];
          break;
        case RasterOp::Or:
          out[i] = colour | out[i];
          break;
      }
    }
  }
}

QImage MaskedForDrawing(const QImage& pixels, const QImage& mask) {
  if (mask.isNull()) return pixels;
  QImage out = pixels.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  if (out.isNull()) return out;
  for (int y = 0; y < out.height(); ++y) {
    QRgb* line = reinterpret_cast<QRgb*>(out.scanLine(y));
    const uchar* m = mask.constScanLine(y);
    for (int x = 0; x < out.width(); ++x)
      if (m[x] < 128) line[x] = 0;
  }
  return out;
}
