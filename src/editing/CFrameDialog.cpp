#include "editing/CFrameDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QTabBar>
#include <QVBoxLayout>

#include "controls/OkCancelButtons.h"
#include "controls/FeatureHost.h"
#include "controls/PictureEditTarget.h"
#include "editing/CFramePicker.h"
#include "editing/DialogParts.h"
#include "editing/FrameCommand.h"
#include "system/Folders.h"

CFrameDialog::CFrameDialog(FeatureHost& host, PictureEditTarget& target, QWidget* parent)
    : QDialog(parent), m_host(host), m_target(target) {
  setObjectName(QStringLiteral("144"));
  setWindowTitle(QStringLiteral("Frame your picture"));
  m_tabs = Named(new QTabBar(this), 1007);
  m_tabs->addTab(QStringLiteral("Frames"));
  m_tabs->addTab(QStringLiteral("Edges"));
  m_label = Named(new QLabel(QStringLiteral("Pick the shape of the frame"), this), 1179);
  m_picker = new CFramePicker(HoleFill::BlackAtCentre, this);
  m_picker->setPhoto(target.picture());
  m_picker->setFolder(GetFramesFolder());

  QDialogButtonBox* buttons = OkCancelButtons(this);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_tabs);
  layout->addWidget(m_label);
  layout->addWidget(m_picker, 1);
  layout->addWidget(buttons);
  resize(820, 560);
  connect(m_tabs, &QTabBar::currentChanged, this, &CFrameDialog::showTab);
}

void CFrameDialog::setFolder(const QString& folder) { m_picker->setFolder(folder); }
void CFrameDialog::setCaption(const QString& caption) {
  if (!caption.isEmpty()) setWindowTitle(caption);
}
void CFrameDialog::setHint(const QString& hint) { m_picker->setHint(hint); }
void CFrameDialog::setLabel(const QString& label) { m_label->setText(label); }

void CFrameDialog::showTab(int tab) { m_picker->setFolder(tab == 1 ? GetEdgesFolder() : GetFramesFolder()); }

void CFrameDialog::accept() {
  ImageBitmap framed;
  if (!ComposeWithChosenFrame(m_host, *m_picker, this, framed)) return;
  m_target.picture() = std::move(framed);
  m_target.pictureChanged();
  QDialog::accept();
}
