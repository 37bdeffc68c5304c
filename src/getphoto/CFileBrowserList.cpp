#include "getphoto/CFileBrowserList.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QListView>
#include <QStackedLayout>
#include <QStandardItemModel>
#include <QTreeView>

#include "library/Settings.h"

namespace {
constexpr int kFolderRole = Qt::UserRole + 1;
}

CFileBrowserList::CFileBrowserList(QWidget* parent) : QWidget(parent) {
  m_model = new QStandardItemModel(this);
  m_model->setHorizontalHeaderLabels({QStringLiteral("Name")});

  m_icons = new QListView(this);
  m_icons->setModel(m_model);
  m_details = new QTreeView(this);
  m_details->setModel(m_model);
  // Both views share one selection, so changing the style keeps the chosen entry.
  m_details->setSelectionModel(m_icons->selectionModel());
  m_details->setRootIsDecorated(false);
  m_details->setItemsExpandable(false);
  m_details->setIconSize(QSize(16, 16));
  m_details->header()->setStretchLastSection(false);
  for (QAbstractItemView* view : {static_cast<QAbstractItemView*>(m_icons),
                                  static_cast<QAbstractItemView*>(m_details)}) {
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->installEventFilter(this);
    connect(view, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex& index) { emit entryActivated(index.row()); });
  }

  m_stack = new QStackedLayout(this);
  m_stack->setContentsMargins(0, 0, 0, 0);
  m_stack->addWidget(m_icons);
  m_stack->addWidget(m_details);
  setViewStyle(Settings::kLargeIcons);
}

void CFileBrowserList::clear() { m_model->removeRows(0, m_model->rowCount()); }

void CFileBrowserList::addEntry(const QString& name, bool folder, const QIcon& icon) {
  auto* item = new QStandardItem(icon, name);
  item->setData(folder, kFolderRole);
  item->setEditable(false);
  m_model->appendRow(item);
}

void CFileBrowserList::fitColumns() {
  if (m_style == Settings::kDetails) m_details->resizeColumnToContents(0);
}

int CFileBrowserList::count() const { return m_model->rowCount(); }

QString CFileBrowserList::entryName(int row) const {
  const QStandardItem* item = m_model->item(row);
  return item ? item->text() : QString();
}

bool CFileBrowserList::isFolder(int row) const {
  const QStandardItem* item = m_model->item(row);
  return item && item->data(kFolderRole).toBool();
}

int CFileBrowserList::currentRow() const {
  const QModelIndexList selected = m_icons->selectionModel()->selectedIndexes();
  return selected.isEmpty() ? -1 : selected.first().row();
}

void CFileBrowserList::setCurrentRow(int row) {
  const QModelIndex index = m_model->index(row, 0);
  if (!index.isValid()) {
    m_icons->selectionModel()->clearSelection();
    return;
  }
  m_icons->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
  view()->scrollTo(index);
}

int CFileBrowserList::rowOf(const QString& name) const {
  for (int row = 0; row < m_model->rowCount(); ++row)
    if (m_model->item(row)->text() == name) return row;
  return -1;
}

void CFileBrowserList::setViewStyle(int style) {
  switch (style) {
    case Settings::kLargeIcons:
      m_icons->setViewMode(QListView::IconMode);
      m_icons->setFlow(QListView::LeftToRight);
      m_icons->setIconSize(QSize(32, 32));
      m_icons->setGridSize(QSize(96, 72));
      m_icons->setWordWrap(true);
      break;
    case Settings::kSmallIcons:
      m_icons->setViewMode(QListView::ListMode);
      m_icons->setFlow(QListView::LeftToRight);
      m_icons->setIconSize(QSize(16, 16));
      m_icons->setGridSize(QSize(160, 22));
      m_icons->setWordWrap(false);
      break;
    case Settings::kList:
      m_icons->setViewMode(QListView::ListMode);
      m_icons->setFlow(QListView::TopToBottom);
      m_icons->setIconSize(QSize(16, 16));
      m_icons->setGridSize(QSize());
      m_icons->setWordWrap(false);
      break;
    case Settings::kDetails:
      break;
    default:
      return;
  }
  m_style = style;
  fitColumns();
  if (style != Settings::kDetails) {
    m_icons->setWrapping(true);
    m_icons->setResizeMode(QListView::Adjust);
    m_icons->setMovement(QListView::Static);
    m_icons->setUniformItemSizes(false);
  }
  QWidget* shown = style == Settings::kDetails ? static_cast<QWidget*>(m_details) : m_icons;
  const bool focused = m_stack->currentWidget() && m_stack->currentWidget()->hasFocus();
  m_stack->setCurrentWidget(shown);
  if (focused) shown->setFocus();
  const QModelIndex current = m_icons->selectionModel()->currentIndex();
  if (current.isValid()) view()->scrollTo(current);
}

QAbstractItemView* CFileBrowserList::view() const {
  return m_style == Settings::kDetails ? static_cast<QAbstractItemView*>(m_details) : m_icons;
}

bool CFileBrowserList::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && (watched == m_icons || watched == m_details)) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      // Taken here: the dialog's default button would open the entry a second time.
      if (currentRow() >= 0) emit entryActivated(currentRow());
      return true;
    }
    if (key == Qt::Key_Backspace) {
      emit backRequested();
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}
