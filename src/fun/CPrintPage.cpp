#include "fun/CPrintPage.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "controls/SinglePhotoCommands.h"
#include "fun/CFunProjectWizard.h"

CPrintPage::CPrintPage(CFunProjectWizard& wizard) : CFunProjectPage(wizard, QStringLiteral("Print"), 233) {
  auto* button = new QPushButton(QStringLiteral("&Print It"), this);
  button->setObjectName(QStringLiteral("1003"));
  fields()->addWidget(button);
  hint()->setText(QString::fromLatin1(wizard.info().PrintText));
  connect(button, &QPushButton::clicked, this, &CPrintPage::print);
}

void CPrintPage::print() {
  QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  m_wizard.photoOutput().printPicture(m_wizard.projectPicture());
  QGuiApplication::restoreOverrideCursor();
}

void CPrintPage::onSetActive() {
  showPicture(&m_wizard.projectPicture());
  if (sheet())
    sheet()->setWizardButtons(CWizardSheet::Back | (m_wizard.choice() == CFunProjectWizard::Choice::PrintOnly
                                                        ? CWizardSheet::Finish
                                                        : CWizardSheet::Next));
}
