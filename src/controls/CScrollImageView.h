#pragma once

#include <QAbstractScrollArea>
#include <QSize>

#include "krn/ImageBitmap.h"

class DeviceContext;

// A bordered scrolling view that shows one picture (not owned) at its own size from the
// top-left corner, on white. The owner keeps the picture alive while it is set.
class CScrollImageView : public QAbstractScrollArea {
  Q_OBJECT

 public:
  explicit CScrollImageView(QWidget* parent = nullptr);

  // Sets the scroll range to the picture's size as shown and repaints; null clears it.
  void setPicture(const ImageBitmap* picture);
  const ImageBitmap* picture() const { return picture_; }
  // The size the scroll bars cover: 100 by 100 until a picture is set.
  QSize scrollRange() const { return range_; }
  // The picture's point shown at the view's top-left corner.
  QPoint scrollPosition() const;
  void setScrollPosition(QPoint position);

  // The picture's size as shown: width and height exchanged for a picture turned a
  // quarter by its view perspective.
  static QSize ShownSize(const ImageBitmap& picture);

 signals:
  // After each paint that drew the picture, for the owner to draw over it. Delivered
  // directly, while the paint is going on.
  void afterPaint(DeviceContext& dc, QSize clientSize);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;

 private:
  void updateScrollBars();

  const ImageBitmap* picture_ = nullptr;
  QSize range_{100, 100};
};
