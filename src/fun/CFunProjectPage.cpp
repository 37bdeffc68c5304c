#include "fun/CFunProjectPage.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QVBoxLayout>

#include "controls/CPicturePreview.h"
#include "controls/FeatureHost.h"
#include "controls/ProgramCursors.h"
#include "editing/DialogParts.h"
#include "fun/CFunProjectWizard.h"

namespace {
constexpr int kHandCursor = 172;
}

CFunProjectPage::CFunProjectPage(CFunProjectWizard& wizard, const QString& caption, int dialogId)
    : CWizardPage(caption, dialogId), m_wizard(wizard), m_viewerTitle(QString::fromLatin1(wizard.info().Name)) {
  m_fields = new QVBoxLayout;
  m_hint = Named(HintLabel(this), 1038);
  m_hint->setMinimumHeight(60);
  m_preview = new CPicturePreview(this);
  m_preview->setObjectName(QStringLiteral("1006"));
  m_preview->setDisplayMode(CPicturePreview::ZoomPan);
  m_preview->setMinimumSize(300, 300);
  m_preview->installEventFilter(this);
  showPicture(nullptr);

  auto* left = new QVBoxLayout;
  left->addLayout(m_fields);
  left->addStretch(1);
  left->addWidget(m_hint);
  auto* layout = new QHBoxLayout(this);
  layout->addLayout(left, 1);
  layout->addWidget(m_preview, 1);
}

void CFunProjectPage::showPicture(const ImageBitmap* picture) {
  const bool shown = picture && picture->hasPixels();
  m_preview->setPicture(shown ? picture : nullptr);
  m_preview->setCursor(shown ? ProgramCursor(kHandCursor) : QCursor(Qt::ForbiddenCursor));
  m_preview->update();
}

bool CFunProjectPage::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_preview && event->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    if (const ImageBitmap* picture = m_preview->picture()) m_wizard.host().viewFullSize(*picture, m_viewerTitle);
    return true;
  }
  return CWizardPage::eventFilter(watched, event);
}
