#include "controls/CPickPhotoDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "controls/OkCancelButtons.h"
#include "controls/CPictureListBox.h"
#include "library/PhotoListModel.h"

namespace {
const QColor kCaptionColour(255, 255, 128);
}

CPickPhotoDialog::CPickPhotoDialog(PhotoListModel& photos, const QString& lastPicked, QWidget* parent)
    : QDialog(parent), m_photos(photos) {
  setObjectName(QStringLiteral("186"));
  setWindowTitle(QStringLiteral("Pick a Photo"));

  auto* caption = new QLabel(QStringLiteral("Pick a photo from the list to put into your label."), this);
  caption->setObjectName(QStringLiteral("1038"));
  caption->setAutoFillBackground(true);
  caption->setMargin(6);
  QPalette colours = caption->palette();
  colours.setColor(QPalette::Window, kCaptionColour);
  colours.setColor(QPalette::WindowText, Qt::black);
  caption->setPalette(colours);

  m_list = new CPictureListBox(this);
  m_list->setObjectName(QStringLiteral("1070"));
  m_list->setModel(&photos);
  m_list->setMinimumSize(520, 300);

  m_fill = new QCheckBox(QStringLiteral("&Fill in all the available blank spaces"), this);
  m_fill->setObjectName(QStringLiteral("1046"));

  QDialogButtonBox* buttons = OkCancelButtons(this);
  connect(m_list, &QAbstractItemView::doubleClicked, this, &CPickPhotoDialog::accept);
  connect(m_list, &CPictureListBox::keyNotified, this, [this](int key) {
    if (key != Qt::Key_Delete) accept();
  });

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(caption);
  layout->addWidget(m_list, 1);
  layout->addWidget(m_fill);
  layout->addWidget(buttons);
  resize(600, 460);

  const int last = lastPicked.isEmpty() ? -1 : photos.findExact(lastPicked, Qt::CaseSensitive);
  if (last >= 0) {
    m_list->setCurrentRow(last);
    m_list->scrollTo(photos.index(last), QAbstractItemView::PositionAtTop);
  }
  m_list->setFocus();
}

QString CPickPhotoDialog::pickedName() const {
  const int row = m_list->currentRow();
  return row >= 0 ? m_photos.text(row) : QString();
}

bool CPickPhotoDialog::fillBlanks() const { return m_fill->isChecked(); }

void CPickPhotoDialog::accept() {
  // Nothing picked, nothing to put anywhere: OK waits for a choice.
  if (pickedName().isEmpty()) return;
  QDialog::accept();
}
