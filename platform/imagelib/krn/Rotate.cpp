#include <cmath>

#include <QTransform>

#include "krn/ParallelRows.h"
#include "krn/ltkrn.h"

namespace {
// Turns the picture about its centre into a canvas of `size`, sampling bilinearly; where a
// sample falls partly outside the picture the fill colour makes up the rest, so the edges
// come out smooth. Rows are worked on by every core.
QImage TurnedSmoothly(const QImage& source, int degrees, QSize size, QRgb fill, bool& aborted) {
  QImage result(size, source.format());
  if (result.isNull()) return result;
  const double angle = degrees * M_PI / 180.0;
  const double c = std::cos(angle), s = std::sin(angle);
  const double outCentreX = size.width() / 2.0, outCentreY = size.height() / 2.0;
  const double inCentreX = source.width() / 2.0, inCentreY = source.height() / 2.0;
  const int width = source.width(), height = source.height();
  uchar* const bits = result.bits();
  const qsizetype stride = result.bytesPerLine();
  const QRgb opaqueFill = fill | 0xff000000u;

  auto at = [&](int x, int y) -> QRgb {
    if (x < 0 || y < 0 || x >= width || y >= height) return opaqueFill;
    return reinterpret_cast<const QRgb*>(source.constScanLine(y))[x];
  };
  const bool finished = ForEachRowBand(size.height(), [&](int first, int end) {
    for (int y = first; y < end; ++y) {
      QRgb* out = reinterpret_cast<QRgb*>(bits + stride * y);
      const double dy = y + 0.5 - outCentreY;
      for (int x = 0; x < size.width(); ++x) {
        const double dx = x + 0.5 - outCentreX;
        // The output turned back: clockwise on screen is the inverse of (c, s).
        const double u = c * dx + s * dy + inCentreX - 0.5;
        const double v = -s * dx + c * dy + inCentreY - 0.5;
        const double fu = std::floor(u), fv = std::floor(v);
        const int x0 = int(fu), y0 = int(fv);
        if (x0 < -1 || y0 < -1 || x0 >= width || y0 >= height) {
          out[x] = opaqueFill;
          continue;
        }
        const double wx = u - fu, wy = v - fv;
        const QRgb p00 = at(x0, y0), p10 = at(x0 + 1, y0), p01 = at(x0, y0 + 1), p11 = at(x0 + 1, y0 + 1);
        auto mix = [&](int shift) {
          const double top = ((p00 >> shift) & 0xff) * (1 - wx) + ((p10 >> shift) & 0xff) * wx;
          const double bottom = ((p01 >> shift) & 0xff) * (1 - wx) + ((p11 >> shift) & 0xff) * wx;
          return uint32_t(top * (1 - wy) + bottom * wy + 0.5) << shift;
        };
        out[x] = mix(0) | mix(8) | mix(16) | mix(24);
      }
    }
  });
  aborted = !finished;
  return finished ? result : QImage();
}
}  // namespace

int RotateBitmap(ImageBitmap& bmp, int degrees, int flags, QRgb fillColour) {
  if (!bmp.hasPixels()) return ERROR_NO_BITMAP;
  if (flags != 0 && flags != 1) return ERROR_INV_PARAMETER;
  degrees %= 360;
  if (degrees < 0) degrees += 360;
  if (degrees == 0) return SUCCESS;

  const bool indexed = bmp.Pixels.format() == QImage::Format_Indexed8;
  const bool rightAngle = degrees % 90 == 0;
  QImage result;
  if (rightAngle && (flags == 1 || degrees == 180)) {
    // Exact and lossless, on any format.
    result = bmp.Pixels.transformed(QTransform().rotate(degrees));
  } else {
    const QImage source = BitmapToRgb32(bmp);
    const QRect bounds = QTransform().rotate(degrees).mapRect(QRectF(source.rect())).toAlignedRect();
    bool aborted = false;
    result = TurnedSmoothly(source, degrees, flags == 1 ? bounds.size() : source.size(), fillColour, aborted);
    if (aborted) return ERROR_USER_ABORT;
    if (indexed && !result.isNull())
      result = result.convertToFormat(QImage::Format_Indexed8, bmp.Pixels.colorTable(), Qt::ThresholdDither);
  }
  if (result.isNull()) return ERROR_NO_MEMORY;
  bmp.Pixels = std::move(result);
  bmp.Width = bmp.Pixels.width();
  bmp.Height = bmp.Pixels.height();
  bmp.Region = QPainterPath();
  return SUCCESS;
}
