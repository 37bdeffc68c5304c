#include "controls/CScrollImageView.h"

#include <QPainter>
#include <QScrollBar>

#include "dis/ltdis.h"

CScrollImageView::CScrollImageView(QWidget* parent) : QAbstractScrollArea(parent) {
  setFrameShape(QFrame::StyledPanel);
  setFrameShadow(QFrame::Sunken);
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  updateScrollBars();
}

QSize CScrollImageView::ShownSize(const ImageBitmap& picture) {
  return picture.shownSize();
}

void CScrollImageView::setPicture(const ImageBitmap* picture) {
  picture_ = picture;
  range_ = picture ? ShownSize(*picture).expandedTo(QSize(0, 0)) : QSize(100, 100);
  horizontalScrollBar()->setValue(0);
  verticalScrollBar()->setValue(0);
  updateScrollBars();
  viewport()->update();
}

QPoint CScrollImageView::scrollPosition() const {
  return QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
}

void CScrollImageView::setScrollPosition(QPoint position) {
  horizontalScrollBar()->setValue(position.x());
  verticalScrollBar()->setValue(position.y());
}

void CScrollImageView::updateScrollBars() {
  const QSize client = viewport()->size();
  horizontalScrollBar()->setRange(0, qMax(0, range_.width() - client.width()));
  horizontalScrollBar()->setPageStep(qMax(1, client.width()));
  horizontalScrollBar()->setSingleStep(qMax(1, client.width() / 10));
  verticalScrollBar()->setRange(0, qMax(0, range_.height() - client.height()));
  verticalScrollBar()->setPageStep(qMax(1, client.height()));
  verticalScrollBar()->setSingleStep(qMax(1, client.height() / 10));
}

void CScrollImageView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  updateScrollBars();
}

void CScrollImageView::scrollContentsBy(int, int) { viewport()->update(); }

void CScrollImageView::paintEvent(QPaintEvent*) {
  QPainter painter(viewport());
  const QSize client = viewport()->size();
  painter.fillRect(QRect(QPoint(0, 0), client), Qt::white);
  if (picture_ == nullptr || picture_->isEmpty() || !picture_->hasPixels()) return;
  DeviceContext dc(painter, client);
  const QRect target(-scrollPosition(), ShownSize(*picture_));
  if (PaintBitmap(dc, *picture_, QRect(), target, QRect(), RasterOp::Copy) == SUCCESS)
    emit afterPaint(dc, client);
}
