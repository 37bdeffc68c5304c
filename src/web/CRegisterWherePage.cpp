#include "web/CRegisterWherePage.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "controls/FeatureHost.h"
#include "controls/Prompter.h"
#include "web/AccountPageParts.h"
#include "web/CServiceAccountWizard.h"

CRegisterWherePage::CRegisterWherePage(CServiceAccountWizard& wizard)
    : CWizardPage(QStringLiteral("Please Register"), 202), m_wizard(wizard) {
  auto* text = AccountText(
      QStringLiteral("Finally, we need you to supply a password.  If you ever have a hard drive crash or become "
                     "corrupted for some reason you will probably want to retrieve your photos from the server.  You "
                     "will need a password to do this."),
      this);
  m_password = AccountEdit(1144, this, true);
  m_password->setMaxLength(kPasswordLimit);
  m_again = AccountEdit(1145, this, true);
  m_again->setMaxLength(kPasswordLimit);
  auto* passwordLabel = new QLabel(QStringLiteral("Password"), this);
  passwordLabel->setBuddy(m_password);
  auto* againLabel = new QLabel(QStringLiteral("Type it again"), this);
  againLabel->setBuddy(m_again);
  m_status = AccountStatusLine(this);
  auto* grid = new QGridLayout;
  grid->addWidget(passwordLabel, 0, 0);
  grid->addWidget(m_password, 0, 1);
  grid->addWidget(againLabel, 1, 0);
  grid->addWidget(m_again, 1, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(text);
  layout->addSpacing(8);
  layout->addLayout(grid);
  layout->addWidget(m_status);
  layout->addStretch(1);
}

QString CRegisterWherePage::password() const { return m_password->text(); }

void CRegisterWherePage::onSetActive() { sheet()->setWizardButtons(CWizardSheet::Back | CWizardSheet::Next); }

void CRegisterWherePage::onWizardNext() {
  m_marks.clear();
  m_status->clear();
  m_marks.markIfEmpty(m_password);
  m_marks.markIfEmpty(m_again);
  if (m_marks.anyMarked()) {
    m_status->setText(QStringLiteral("We need this information in case you need to retreive your photos from the web."));
    return;
  }
  if (m_password->text() != m_again->text()) {
    m_wizard.host().prompter().showError(
        this, QStringLiteral("Your passwords are not the same.  Please retype both of them exactly the same to be sure."));
    m_password->setFocus();
    return;
  }
  CWizardPage::onWizardNext();
}
