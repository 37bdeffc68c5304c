#include "myphotos/CEditCommentDialog.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

#include "controls/OkCancelButtons.h"
#include "controls/CDescriptionEdit.h"
#include "controls/CPicturePreview.h"

namespace {
constexpr int kPreviewWidth = 240;
constexpr int kPreviewHeight = 180;
}  // namespace

CEditCommentDialog::CEditCommentDialog(const QString& stem, const QString& description,
                                       const ImageBitmap& picture, QWidget* parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("205"));
  setWindowTitle(QStringLiteral("Edit Comment"));

  m_stem = new QLabel(stem, this);
  m_stem->setObjectName(QStringLiteral("1051"));
  m_description = new CDescriptionEdit(description, this);
  m_description->setObjectName(QStringLiteral("1010"));
  // The static draws with ampersand processing, as the photo list does: a buddy makes
  // the stem's "&&" show as "&".
  m_stem->setBuddy(m_description);

  auto* clear = new QPushButton(QStringLiteral("&Clear"), this);
  clear->setObjectName(QStringLiteral("1005"));
  connect(clear, &QPushButton::clicked, m_description, &QPlainTextEdit::clear);

  m_preview = new CPicturePreview(this);
  m_preview->setObjectName(QStringLiteral("1006"));
  m_preview->setFixedSize(kPreviewWidth, kPreviewHeight);
  m_preview->setDisplayMode(CPicturePreview::Fit);
  m_preview->installEventFilter(this);
  // Only a picture can be looked at full size.
  if (picture.hasPixels() && !picture.isEmpty()) {
    m_preview->setPicture(&picture);
    m_preview->setCursor(Qt::PointingHandCursor);
  }

  QDialogButtonBox* buttons = OkCancelButtons(this);

  auto* layout = new QGridLayout(this);
  layout->addWidget(m_stem, 0, 0, 1, 2);
  layout->addWidget(m_description, 1, 0);
  layout->addWidget(clear, 1, 1, Qt::AlignTop);
  layout->addWidget(m_preview, 2, 0, 1, 2, Qt::AlignCenter);
  layout->addWidget(buttons, 3, 0, 1, 2);
  m_description->setFocus();
}

QString CEditCommentDialog::description() const { return m_description->toPlainText(); }

bool CEditCommentDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_preview && m_preview->picture() && event->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    emit previewClicked();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}
