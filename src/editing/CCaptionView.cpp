#include "editing/CCaptionView.h"

#include "editing/CCaptionWindow.h"

CCaptionView::CCaptionView(QWidget* parent) : CScrollImageView(parent) {}

void CCaptionView::updateCaption(const Caption& caption) {
  if (!m_caption && picture()) {
    m_caption = new CCaptionWindow(*picture(), viewport());
    m_caption->setScroll(scrollPosition());
  }
  if (m_caption) m_caption->setCaption(caption);
}

void CCaptionView::scrollContentsBy(int dx, int dy) {
  CScrollImageView::scrollContentsBy(dx, dy);
  if (m_caption) m_caption->setScroll(scrollPosition());
}
