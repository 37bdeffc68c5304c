#pragma once

#include <QWidget>

#include "photoedits/CaptionLayout.h"

struct ImageBitmap;

// The caption over the picture view: it draws itself (box, tail or bubbles, text) on a
// transparent window as tall as the box and its tail, and the user drags it by its box.
// Its place is kept in the picture's pixels, so scrolling the view carries it along.
class CCaptionWindow : public QWidget {
  Q_OBJECT

 public:
  // background: the picture under the caption (not owned), which bounds where it may go.
  CCaptionWindow(const ImageBitmap& background, QWidget* parent);

  // New text, shape, font or colour: the text is laid out again within the caption's
  // current width, and the window takes the new box's size where it stands.
  void setCaption(const Caption& caption);
  const Caption& caption() const { return m_caption; }
  const CaptionLayout& layout() const { return m_layout; }
  // The width the current layout wrapped its text at.
  int wrapWidth() const { return m_wrapWidth; }

  // The box's top-left corner in the picture's pixels.
  QPoint position() const { return m_position; }
  // Moves the box there, kept inside the picture.
  void setPosition(QPoint position);
  // The view's scroll position, so the window stands where its place in the picture shows.
  void setScroll(QPoint scroll);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void place();

  const ImageBitmap& m_background;
  Caption m_caption;
  CaptionLayout m_layout;
  int m_wrapWidth = kCaptionMinimumSide;
  QPoint m_position;
  QPoint m_scroll;
  bool m_dragging = false;
  QPoint m_pressAt;
  QPoint m_positionAtPress;
};
