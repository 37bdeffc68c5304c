#include "editing/CCaptionView.h"

#include <QScrollBar>

#include "editing/CCaptionWindow.h"

CCaptionView::CCaptionView(QWidget* parent) : CScrollImageView(parent) {}

void CCaptionView::updateCaption(const Caption& caption) {
  if (!m_caption && picture()) {
    m_caption = new CCaptionWindow(*picture(), viewport());
    m_caption->setScroll(scrollPosition());
  }
  if (m_caption) m_caption->setCaption(caption);
}

QPoint CCaptionView::scrollPosition() const {
  return QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
}

void CCaptionView::scrollContentsBy(int dx, int dy) {
  CScrollImageView::scrollContentsBy(dx, dy);
  if (m_caption) m_caption->setScroll(scrollPosition());
}
