#include "SvgRaster.h"

#include <QPainter>
#include <QSvgRenderer>

QImage RenderSvgStrip(const QStringList& sources, QSize cell, QString& error) {
  QImage canvas(cell.width() * int(sources.size()), cell.height(),
                QImage::Format_RGBA64_Premultiplied);
  if (canvas.isNull()) {
    error = QStringLiteral("out of memory");
    return {};
  }
  canvas.fill(Qt::transparent);
  QPainter painter(&canvas);
  painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                         QPainter::SmoothPixmapTransform);
  for (int i = 0; i < sources.size(); ++i) {
    QSvgRenderer renderer(sources[i]);
    if (!renderer.isValid()) {
      error = QStringLiteral("cannot read ") + sources[i];
      return {};
    }
    renderer.setAspectRatioMode(Qt::KeepAspectRatio);
    renderer.render(&painter, QRectF(QPointF(i * cell.width(), 0), QSizeF(cell)));
  }
  painter.end();
  return canvas;
}
