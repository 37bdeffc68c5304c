#include "editing/PreviewDrag.h"

#include <QEvent>
#include <QMouseEvent>

#include "controls/CPicturePreview.h"
#include "controls/ProgramCursors.h"

namespace {
constexpr int kHandCursor = 153;
}

PreviewDrag::PreviewDrag(CPicturePreview* preview) : QObject(preview), m_preview(preview) {
  preview->installEventFilter(this);
  preview->setMouseTracking(true);
  preview->setCursor(ProgramCursor(kHandCursor));
}

bool PreviewDrag::eventFilter(QObject* watched, QEvent* event) {
  if (watched != m_preview) return false;
  switch (event->type()) {
    case QEvent::MouseButtonPress: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      if (mouse->button() != Qt::LeftButton) return false;
      m_dragging = true;
      m_start = mouse->globalPosition().toPoint();
      m_preview->setCursor(Qt::SizeAllCursor);
      m_preview->setPanOffset(QPoint());
      return true;
    }
    case QEvent::MouseMove:
      if (m_dragging) {
        m_preview->setPanOffset(static_cast<QMouseEvent*>(event)->globalPosition().toPoint() - m_start);
        return true;
      }
      return false;
    case QEvent::MouseButtonRelease:
      if (m_dragging && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        m_dragging = false;
        m_preview->setCursor(ProgramCursor(kHandCursor));
        return true;
      }
      return false;
    default: return false;
  }
}
