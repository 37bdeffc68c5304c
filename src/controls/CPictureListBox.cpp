#include "controls/CPictureListBox.h"

#include <algorithm>

#include <QKeyEvent>
#include <QMouseEvent>

#include "controls/CPictureListBoxDelegate.h"
#include "controls/PictureListGeometry.h"

CPictureListBox::CPictureListBox(QWidget* parent)
    : QListView(parent), delegate_(new CPictureListBoxDelegate(this)) {
  setItemDelegate(delegate_);
  setViewMode(QListView::ListMode);
  setFlow(QListView::TopToBottom);
  setWrapping(true);
  setResizeMode(QListView::Adjust);
  setUniformItemSizes(true);
  setSpacing(0);
  setMovement(QListView::Static);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setDragEnabled(false);
  delegate_->setColumnWidth(PictureListColumnWidth(fontMetrics().averageCharWidth()));
}

void CPictureListBox::setTransparentWhite(bool on) {
  delegate_->setTransparentWhite(on);
  viewport()->update();
}

bool CPictureListBox::transparentWhite() const { return delegate_->transparentWhite(); }

void CPictureListBox::setHintEnabled(bool on) {
  hintEnabled_ = on;
  if (on) {
    setMouseTracking(true);
    viewport()->setMouseTracking(true);
  }
}

void CPictureListBox::setColumnWidth(int width) {
  delegate_->setColumnWidth(std::max(width, 1));
  // Uniform sizes are cached by the view; a relayout picks up the new width.
  doItemsLayout();
  viewport()->update();
}

int CPictureListBox::columnWidth() const { return delegate_->columnWidth(); }

int CPictureListBox::currentRow() const {
  const QModelIndex index = currentIndex();
  return index.isValid() && selectionModel() && selectionModel()->isSelected(index)
             ? index.row()
             : -1;
}

void CPictureListBox::setCurrentRow(int row) {
  if (model() == nullptr) return;
  const QModelIndex index = model()->index(row, modelColumn(), rootIndex());
  if (index.isValid())
    setCurrentIndex(index);
  else
    clearSelection();
}

void CPictureListBox::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
    case Qt::Key_Delete:
      event->accept();
      emit keyNotified(event->key());
      return;
    default:
      QListView::keyPressEvent(event);
  }
}

void CPictureListBox::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::RightButton) {
    QListView::mousePressEvent(event);
    return;
  }
  event->accept();
  const QModelIndex index = indexAt(event->position().toPoint());
  if (index.isValid()) setCurrentIndex(index);
  emit rightClicked(currentRow(), event->globalPosition().toPoint());
}

void CPictureListBox::mouseMoveEvent(QMouseEvent* event) {
  if (hintEnabled_) {
    const QModelIndex index = indexAt(event->position().toPoint());
    emit hoverIndex(index.isValid() ? index.row() : -1);
  }
  QListView::mouseMoveEvent(event);
}

bool CPictureListBox::viewportEvent(QEvent* event) {
  if (hintEnabled_ && event->type() == QEvent::Leave) emit hoverIndex(-1);
  return QListView::viewportEvent(event);
}
