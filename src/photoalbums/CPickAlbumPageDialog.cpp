#include "photoalbums/CPickAlbumPageDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "controls/OkCancelButtons.h"
#include "dis/ltdis.h"
#include "labels/LabelTemplate.h"
#include "labels/TemplatePreview.h"

CPickAlbumPageDialog::CPickAlbumPageDialog(const std::vector<LabelTemplate*>& layouts, QWidget* parent)
    : QDialog(parent), m_layouts(layouts) {
  setObjectName(QStringLiteral("196"));
  setWindowTitle(QStringLiteral("Pick a Photo Album Page"));

  auto* prompt = new QLabel(
      QStringLiteral("How would you like to arrange your photos on the new photo album page you are creating?"), this);
  prompt->setWordWrap(true);

  m_list = new QListWidget(this);
  m_list->setObjectName(QStringLiteral("1018"));
  m_list->setViewMode(QListView::IconMode);
  m_list->setIconSize(kTemplatePreviewSize);
  m_list->setSelectionMode(QAbstractItemView::SingleSelection);
  m_list->setMovement(QListView::Static);
  m_list->setResizeMode(QListView::Adjust);
  m_list->setSpacing(8);
  for (LabelTemplate* layout : m_layouts) {
    DrawTemplatePreview(*layout);
    auto* item = new QListWidgetItem(QIcon(QPixmap::fromImage(MakeDeviceBitmap(layout->Preview))), QString());
    item->setToolTip(layout->Name);
    m_list->addItem(item);
  }

  QDialogButtonBox* buttons = OkCancelButtons(this);
  connect(m_list, &QListWidget::itemDoubleClicked, this, &CPickAlbumPageDialog::accept);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(prompt);
  layout->addWidget(m_list, 1);
  layout->addWidget(buttons);
  resize(560, 420);
}

LabelTemplate* CPickAlbumPageDialog::pickedLayout() const {
  const int row = m_list->currentRow();
  const bool picked = row >= 0 && m_list->currentItem() && m_list->currentItem()->isSelected();
  return picked && row < int(m_layouts.size()) ? m_layouts[size_t(row)] : nullptr;
}

void CPickAlbumPageDialog::accept() {
  if (!pickedLayout()) return;
  QDialog::accept();
}
