#include "common/SlideFrame.h"

#include <algorithm>

QRect FitPictureRect(QSize picture, QSize area) {
  if (picture.isEmpty() || area.isEmpty()) return QRect();
  const QSize fitted = picture.scaled(area, Qt::KeepAspectRatio);
  const QSize size(std::max(fitted.width(), 1), std::max(fitted.height(), 1));
  return QRect(QPoint((area.width() - size.width()) / 2, (area.height() - size.height()) / 2),
               size);
}

void PaintSlideFrame(QPainter& painter, QSize area, const QImage& from, const QImage& to,
                     double mix, const QString& message) {
  mix = std::clamp(mix, 0.0, 1.0);
  painter.save();
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.fillRect(QRect(QPoint(0, 0), area), Qt::black);
  if (!from.isNull() && mix < 1.0) {
    painter.setOpacity(1.0 - mix);
    painter.drawImage(FitPictureRect(from.size(), area), from);
  }
  if (!to.isNull() && mix > 0.0) {
    // Added rather than laid over: where both pictures lie the result is the exact blend
    // (1 - mix) * from + mix * to, so the fade has no dark or bright dip in the middle.
    painter.setCompositionMode(QPainter::CompositionMode_Plus);
    painter.setOpacity(mix);
    painter.drawImage(FitPictureRect(to.size(), area), to);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
  }
  if (!message.isEmpty()) {
    painter.setOpacity(1.0);
    painter.setPen(Qt::white);
    QFont font = painter.font();
    font.setPointSizeF(std::max(12.0, area.height() / 40.0));
    painter.setFont(font);
    painter.drawText(QRect(QPoint(0, 0), area), Qt::AlignCenter | Qt::TextWordWrap, message);
  }
  painter.restore();
}
