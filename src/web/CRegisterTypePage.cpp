#include "web/CRegisterTypePage.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "controls/FeatureHost.h"
#include "controls/Prompter.h"
#include "web/AccountPageParts.h"
#include "web/CRegisterSendPage.h"

CRegisterTypePage::CRegisterTypePage(CServiceAccountWizard& wizard)
    : CWizardPage(QStringLiteral("Please Register"), 206), m_wizard(wizard) {
  const QString site = wizard.siteName();
  auto* intro = AccountText(
      QStringLiteral("In order to keep your photos safe and secure, we need the basic information requested below.  "
                     "It will not be given to any other company or service. "),
      this);
  auto* brand = AccountText(
      QStringLiteral("Pelloria is a free place on the web to put your photos and share them with your friends and "
                     "relatives: they look at them through a web link, and nobody has to send them files."),
      this);
  QFont brandFont = brand->font();
  brandFont.setItalic(true);
  brand->setFont(brandFont);
  m_newUser = new QRadioButton(QStringLiteral("I am a &new ") + site + QStringLiteral(" user"), this);
  m_newUser->setObjectName(QStringLiteral("1151"));
  m_existingUser = new QRadioButton(
      QStringLiteral("I already use ") + site + QStringLiteral(".  Please let me downoad my photos from the web."), this);
  m_existingUser->setObjectName(QStringLiteral("1152"));
  auto* group = new QButtonGroup(this);
  group->addButton(m_newUser, CServiceAccountWizard::NewUser);
  group->addButton(m_existingUser, CServiceAccountWizard::ExistingUser);
  m_newUser->setChecked(true);

  m_userId = AccountEdit(1147, this);
  m_userIdLabel = new QLabel(QStringLiteral("Please type your User Id"), this);
  m_userIdLabel->setBuddy(m_userId);
  m_password = AccountEdit(1144, this, true);
  m_passwordLabel = new QLabel(QStringLiteral("Password"), this);
  m_passwordLabel->setBuddy(m_password);

  auto* account = new QGridLayout;
  account->setContentsMargins(24, 0, 0, 0);
  account->addWidget(m_userIdLabel, 0, 0);
  account->addWidget(m_userId, 0, 1);
  account->addWidget(m_passwordLabel, 1, 0);
  account->addWidget(m_password, 1, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(intro);
  layout->addWidget(brand);
  layout->addSpacing(8);
  layout->addWidget(m_newUser);
  layout->addWidget(m_existingUser);
  layout->addLayout(account);
  layout->addStretch(1);

  connect(group, &QButtonGroup::idClicked, this,
          [this](int id) { choose(static_cast<CServiceAccountWizard::Choice>(id)); });
  choose(CServiceAccountWizard::NewUser);
}

QString CRegisterTypePage::userId() const { return m_userId->text(); }
QString CRegisterTypePage::password() const { return m_password->text(); }

void CRegisterTypePage::choose(CServiceAccountWizard::Choice choice) {
  m_choice = choice;
  const bool existing = choice == CServiceAccountWizard::ExistingUser;
  (existing ? m_existingUser : m_newUser)->setChecked(true);
  for (QWidget* field : {static_cast<QWidget*>(m_userIdLabel), static_cast<QWidget*>(m_userId),
                         static_cast<QWidget*>(m_passwordLabel), static_cast<QWidget*>(m_password)})
    field->setEnabled(existing);
}

void CRegisterTypePage::onSetActive() { sheet()->setWizardButtons(CWizardSheet::Next); }

void CRegisterTypePage::onWizardNext() {
  if (m_choice == CServiceAccountWizard::NewUser) {
    CWizardPage::onWizardNext();
    return;
  }
  m_marks.clear();
  m_marks.markIfEmpty(m_userId);
  m_marks.markIfEmpty(m_password);
  if (m_marks.anyMarked()) {
    m_wizard.host().prompter().showError(this, QStringLiteral("You did not fill in both your User Id and Password"));
    return;
  }
  sheet()->setActivePage(m_wizard.sendPage());
}
