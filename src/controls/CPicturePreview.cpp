#include "controls/CPicturePreview.h"

#include <QImage>
#include <QPainter>

#include "controls/PreviewGeometry.h"
#include "dis/ltdis.h"
#include "system/Folders.h"

namespace {
// The shipped background pattern; a plain window colour if the file is missing or damaged,
// so the preview still shows rather than failing.
QBrush PatternBrush(const QWidget& widget) {
  const QImage pattern(GetProgramFolder() + "resources/preview-pattern.bmp");
  if (pattern.isNull()) return widget.palette().window();
  return QBrush(pattern);
}
}  // namespace

CPicturePreview::CPicturePreview(QWidget* parent) : QWidget(parent), pattern_(PatternBrush(*this)) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void CPicturePreview::setPicture(const ImageBitmap* picture) {
  picture_ = picture;
  update();
}

void CPicturePreview::setDisplayMode(int mode) {
  mode_ = mode;
  update();
}

void CPicturePreview::setZoomLevel(int level) {
  zoom_ = level;
  update();
}

void CPicturePreview::setPanOffset(QPoint offset) {
  pan_ = offset;
  update();
}

void CPicturePreview::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QSize client = size();
  painter.setPen(Qt::white);
  painter.setBrush(pattern_);
  painter.setBrushOrigin(0, 0);
  painter.drawRect(QRect(QPoint(0, 0), client).adjusted(0, 0, -1, -1));
  if (picture_ == nullptr || picture_->isEmpty() || !picture_->hasPixels()) return;

  DeviceContext dc(painter, client);
  int result = ERROR_INV_PARAMETER;
  if (mode_ == Stretch || mode_ == Fit) {
    QRect target = PreviewTargetRect(client);
    if (target.isEmpty()) return;
    if (mode_ == Fit) FitRectToBitmap(*picture_, target);
    if (target.isEmpty()) return;
    result = PaintBitmap(dc, *picture_, QRect(), target, QRect(), RasterOp::Copy);
  } else if (mode_ == ZoomPan) {
    const QRect clientRect(QPoint(0, 0), client);
    // The size as shown: a picture turned by its view perspective is fitted upright.
    const QRect zoomed = PreviewZoomRect(picture_->shownSize(), client, zoom_, pan_);
    if (zoomed.isEmpty()) return;
    result = PaintBitmap(dc, *picture_, QRect(), zoomed, clientRect, RasterOp::Copy);
    if (result == SUCCESS) {
      zoomRect_ = zoomed;
      drawnRect_ = zoomed.intersected(clientRect);
    }
  }
  if (result == SUCCESS) emit afterPaint(dc, client);
}
