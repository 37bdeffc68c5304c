#include "editing/CCaptionWindow.h"

#include <QMouseEvent>
#include <QPainter>

#include "krn/ImageBitmap.h"

CCaptionWindow::CCaptionWindow(const ImageBitmap& background, QWidget* parent)
    : QWidget(parent), m_background(background) {
  setObjectName(QStringLiteral("captionWindow"));
  m_caption.Font = DefaultCaptionFont();
  setCursor(Qt::SizeAllCursor);
  place();
  show();
}

void CCaptionWindow::setCaption(const Caption& caption) {
  m_caption = caption;
  m_wrapWidth = m_layout.box().width();
  m_layout = CaptionLayout::Fit(caption.Text, caption.Font, m_wrapWidth);
  // A box grown past the picture's edge moves back inside it.
  setPosition(m_position);
  update();
}

void CCaptionWindow::setPosition(QPoint position) {
  m_position = ClampCaptionPosition(position, m_layout.box(), m_background.shownSize());
  place();
}

void CCaptionWindow::setScroll(QPoint scroll) {
  m_scroll = scroll;
  place();
}

void CCaptionWindow::place() {
  setGeometry(QRect(m_position - m_scroll, m_layout.box() + QSize(0, kCaptionTailDepth)));
}

void CCaptionWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  m_layout.draw(painter, m_caption.Shape, m_caption.Colour);
}

void CCaptionWindow::mousePressEvent(QMouseEvent* event) {
  // Only the box takes hold; below it the tail's area is the picture's.
  if (event->button() != Qt::LeftButton || !QRect(QPoint(0, 0), m_layout.box()).contains(event->position().toPoint())) {
    event->ignore();
    return;
  }
  m_dragging = true;
  m_pressAt = event->globalPosition().toPoint();
  m_positionAtPress = m_position;
}

void CCaptionWindow::mouseMoveEvent(QMouseEvent* event) {
  if (!m_dragging) return;
  setPosition(m_positionAtPress + event->globalPosition().toPoint() - m_pressAt);
}

void CCaptionWindow::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) m_dragging = false;
}
