#include "editing/CFramePage.h"

#include <QVBoxLayout>

#include "controls/CWizardSheet.h"
#include "controls/FeatureHost.h"
#include "editing/CFramePicker.h"
#include "editing/FrameCommand.h"

CFramePage::CFramePage(FeatureHost& host, QWidget* parent)
    : CWizardPage(QStringLiteral("Frame your photo"), 227, parent), m_host(host) {
  m_picker = new CFramePicker(HoleFill::ColourAtPoint, this);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_picker);
}

void CFramePage::setFolder(const QString& folder) { m_picker->setFolder(folder); }
void CFramePage::setHint(const QString& hint) { m_picker->setHint(hint); }

void CFramePage::onSetActive() {
  m_picker->setPhoto(m_host.workingPicture());
  if (sheet()) sheet()->setWizardButtons(CWizardSheet::Back | CWizardSheet::Next);
}

void CFramePage::onWizardNext() {
  ImageBitmap framed;
  if (!ComposeWithChosenFrame(m_host, *m_picker, this, framed)) return;
  m_framed = std::move(framed);
  CWizardPage::onWizardNext();
}
