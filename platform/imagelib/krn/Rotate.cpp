#include <QPainter>
#include <QTransform>

#include "krn/ltkrn.h"

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
    const QTransform turn = QTransform().rotate(degrees);
    const QRect bounds = turn.mapRect(QRectF(source.rect())).toAlignedRect();
    const QSize size = flags == 1 ? bounds.size() : source.size();
    result = QImage(size, source.format());
    if (result.isNull()) return ERROR_NO_MEMORY;
    result.fill(qRgba(qRed(fillColour), qGreen(fillColour), qBlue(fillColour), 255));
    QPainter painter(&result);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, !rightAngle);
    painter.translate(size.width() / 2.0, size.height() / 2.0);
    painter.rotate(degrees);
    painter.drawImage(QPointF(-source.width() / 2.0, -source.height() / 2.0), source);
    painter.end();
    if (indexed)
      result = result.convertToFormat(QImage::Format_Indexed8, bmp.Pixels.colorTable(),
                                      Qt::ThresholdDither);
  }
  if (result.isNull()) return ERROR_NO_MEMORY;
  bmp.Pixels = std::move(result);
  bmp.Width = bmp.Pixels.width();
  bmp.Height = bmp.Pixels.height();
  bmp.Region = QPainterPath();
  return SUCCESS;
}
