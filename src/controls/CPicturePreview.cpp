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
    result = paintZoomed(dc, zoomed, clientRect);
    if (result == SUCCESS) {
      zoomRect_ = zoomed;
      drawnRect_ = zoomed.intersected(clientRect);
    }
  }
  if (result == SUCCESS) emit afterPaint(dc, client);
}

int CPicturePreview::paintZoomed(DeviceContext& dc, const QRect& zoomed, const QRect& clientRect) {
  // Dragging changes only where the picture goes: the picture at its zoomed size is kept,
  // so such a repaint is a copy. Sizes far larger than the client are painted directly.
  const qint64 area = qint64(zoomed.width()) * zoomed.height();
  if (area > 4 * qint64(clientRect.width()) * clientRect.height())
    return PaintBitmap(dc, *picture_, QRect(), zoomed, clientRect, RasterOp::Copy);
  if (scaled_.size() != zoomed.size() || scaledKey_ != picture_->Pixels.cacheKey() ||
      scaledPerspective_ != picture_->Perspective) {
    scaled_ = QImage(zoomed.size(), QImage::Format_ARGB32_Premultiplied);
    if (scaled_.isNull()) return ERROR_NO_MEMORY;
    scaled_.fill(Qt::transparent);
    QPainter painter(&scaled_);
    DeviceContext target(painter, zoomed.size());
    const int result = PaintBitmap(target, *picture_, QRect(), QRect(QPoint(0, 0), zoomed.size()), QRect(), RasterOp::Copy);
    if (result != SUCCESS) {
      scaled_ = QImage();
      return result;
    }
    scaledKey_ = picture_->Pixels.cacheKey();
    scaledPerspective_ = picture_->Perspective;
  }
  dc.painter().save();
  dc.painter().setClipRect(clientRect);
  dc.painter().drawImage(zoomed.topLeft(), scaled_);
  dc.painter().restore();
  return SUCCESS;
}
