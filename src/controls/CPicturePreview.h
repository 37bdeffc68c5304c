#pragma once

#include <QBrush>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QWidget>

#include "krn/ImageBitmap.h"

class DeviceContext;

// The preview box of dialogs and wizard pages: shows one picture that it does not own,
// over a patterned background outlined in white. The owner keeps the picture alive while
// it is set, and sets it to null (or another picture) before freeing it.
class CPicturePreview : public QWidget {
  Q_OBJECT

 public:
  enum DisplayMode { Stretch = 1, Fit = 2, ZoomPan = 3 };

  explicit CPicturePreview(QWidget* parent = nullptr);

  // Each setter repaints the control.
  void setPicture(const ImageBitmap* picture);
  const ImageBitmap* picture() const { return picture_; }
  // 1 stretched, 2 fitted keeping proportions, 3 zoom and pan; other values draw nothing.
  void setDisplayMode(int mode);
  int displayMode() const { return mode_; }
  void setZoomLevel(int level);
  int zoomLevel() const { return zoom_; }
  void setPanOffset(QPoint offset);
  QPoint panOffset() const { return pan_; }

  // Written by each paint in mode 3. drawnRect is the picture's rectangle clipped to the
  // client; zoomRect is the whole rectangle it was painted into (its top-left maps mouse
  // positions onto the picture even when panned past the left or top edge); drawnSize is
  // the picture's size on screen. Empty until a picture is drawn in mode 3.
  QRect drawnRect() const { return drawnRect_; }
  QRect zoomRect() const { return zoomRect_; }
  QSize drawnSize() const { return zoomRect_.size(); }

  QSize sizeHint() const override { return QSize(200, 150); }

 signals:
  // After each paint that drew a picture, for the owner to draw over it (crop outline,
  // frame, red-eye outline). Delivered directly, while the paint is going on.
  void afterPaint(DeviceContext& dc, QSize clientSize);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  // Paints the picture into the zoomed rectangle, through a copy kept at that size.
  int paintZoomed(DeviceContext& dc, const QRect& zoomed, const QRect& clientRect);

  const ImageBitmap* picture_ = nullptr;
  QImage scaled_;
  qint64 scaledKey_ = 0;
  int scaledPerspective_ = 0;
  int mode_ = Fit;
  int zoom_ = 1;
  QPoint pan_;
  QRect drawnRect_;
  QRect zoomRect_;
  QBrush pattern_;
};
