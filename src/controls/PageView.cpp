#include "controls/PageView.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "controls/ProgramCursors.h"
#include "dis/DeviceContext.h"
#include "labels/LabelTemplate.h"
#include "labels/PageCells.h"

namespace {
constexpr int kPictureCursor = 153;
}

PageView::PageView(QWidget* parent) : QWidget(parent) {
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void PageView::setPage(const LabelTemplate* pageTemplate, const PageCells* cells) {
  if (pageTemplate != m_template) m_state = PageViewState{};
  m_template = pageTemplate;
  m_cells = cells;
  refresh();
}

void PageView::resetSelection() {
  m_state = PageViewState{};
  refresh();
}

PageDevice PageView::device() const {
  PageDevice device;
  device.DpiX = device.DpiY = kLayoutDpi;
  device.Target = size();
  return device;
}

void PageView::layOut() {
  const int before = m_state.SelectedCell;
  if (!m_template) {
    m_state.Places.clear();
    m_state.SelectedCell = -1;
  } else {
    m_state.Places = LayOutTemplatePage(*m_template, device());
    KeepSelection(m_state, m_template->Columns);
  }
  if (m_state.SelectedCell != before) emit selectionChanged(m_state.SelectedCell);
}

void PageView::refresh() {
  layOut();
  update();
}

void PageView::clickAt(QPoint point) {
  const int before = m_state.SelectedCell;
  SelectAtPoint(m_state, point, m_template ? m_template->Columns : 0);
  if (m_state.SelectedCell != before) emit selectionChanged(m_state.SelectedCell);
  update();
}

void PageView::selectCell(int cell) {
  const int before = m_state.SelectedCell;
  SelectCell(m_state, cell, m_template ? m_template->Columns : 0);
  if (m_state.SelectedCell != before) emit selectionChanged(m_state.SelectedCell);
  update();
}

void PageView::moveSelection(PageMove move) {
  if (!m_template || m_state.SelectedCell < 0) return;
  int column = m_state.SelectedColumn, row = m_state.SelectedRow;
  if (MoveSelection(move, column, row, m_template->Columns, m_template->Rows))
    selectCell(column + row * m_template->Columns);
}

void PageView::addReducedPicture(const std::shared_ptr<ImageBitmap>& picture, ImageBitmap reduced) {
  m_cache.AddReduced(picture, std::move(reduced));
}

void PageView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  if (m_template && m_cells) {
    m_cache.Prune();
    const int before = m_state.SelectedCell;
    DeviceContext dc(painter, size(), kLayoutDpi, kLayoutDpi);
    const PageCells& cells = *m_cells;
    DrawTemplatePage(dc, device(), *m_template, cells, m_state, [this, &cells](int cell, QSize size) {
      return m_cache.Scaled(cells.Cell(cell).Working, size);
    });
    if (m_state.SelectedCell != before) emit selectionChanged(m_state.SelectedCell);
  }
  painter.setPen(Qt::black);
  painter.drawLine(0, 0, 0, height() - 1);
  painter.drawLine(width() - 1, 0, width() - 1, height() - 1);
}

void PageView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  layOut();
}

void PageView::mousePressEvent(QMouseEvent* event) {
  const QPoint point = event->position().toPoint();
  if (event->button() == Qt::LeftButton) {
    clickAt(point);
    if (m_cells && m_cells->HoldsPicture(CellAtPoint(m_state.Places, point))) {
      m_state.Dragging = true;
      m_state.DragStart = point;
      setCursor(Qt::SizeAllCursor);
    }
  } else if (event->button() == Qt::RightButton) {
    clickAt(point);
    emit menuRequested(event->globalPosition().toPoint());
  }
}

void PageView::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  m_state.EndDrag();
  clickAt(event->position().toPoint());
  emit pickPhotoRequested();
}

void PageView::mouseMoveEvent(QMouseEvent* event) {
  const QPoint point = event->position().toPoint();
  if (m_state.Dragging) {
    m_state.DragPoint = point;
    update();
  }
  updateCursor(point);
}

void PageView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !m_state.Dragging) return;
  const QPoint point = event->position().toPoint();
  const int target = CellAtPoint(m_state.Places, point);
  const int source = CellAtPoint(m_state.Places, m_state.DragStart);
  m_state.EndDrag();
  if (target >= 0 && source >= 0 && target != source) {
    emit pictureMoved(source, target);
    // The picture's new label becomes the selection: the drop is where the user looks.
    clickAt(point);
  }
  refresh();
  updateCursor(point);
}

void PageView::updateCursor(QPoint point) {
  if (m_state.Dragging) setCursor(Qt::SizeAllCursor);
  else if (m_cells && m_cells->HoldsPicture(CellAtPoint(m_state.Places, point))) setCursor(ProgramCursor(kPictureCursor));
  else unsetCursor();
}

void PageView::keyPressEvent(QKeyEvent* event) {
  const bool keypad = event->modifiers() & Qt::KeypadModifier;
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space: emit pickPhotoRequested(); return;
    case Qt::Key_Delete:
      if (m_state.SelectedCell >= 0) emit deleteRequested();
      return;
    case Qt::Key_Home: moveSelection(PageMove::Home); return;
    case Qt::Key_End: moveSelection(PageMove::End); return;
    case Qt::Key_Left: moveSelection(PageMove::Left); return;
    case Qt::Key_Up: moveSelection(PageMove::Up); return;
    case Qt::Key_Right: moveSelection(PageMove::Right); return;
    case Qt::Key_Down: moveSelection(PageMove::Down); return;
    case Qt::Key_4:
    case Qt::Key_8:
    case Qt::Key_6:
    case Qt::Key_2:
      if (keypad) {
        static const QHash<int, PageMove> pad = {{Qt::Key_4, PageMove::Left}, {Qt::Key_8, PageMove::Up},
                                                 {Qt::Key_6, PageMove::Right}, {Qt::Key_2, PageMove::Down}};
        moveSelection(pad.value(event->key()));
        return;
      }
      break;
    default: break;
  }
  QWidget::keyPressEvent(event);
}
