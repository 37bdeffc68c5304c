#pragma once

#include "controls/CWizardPage.h"
#include "web/CServiceAccountWizard.h"
#include "web/RequiredFields.h"

class QLabel;
class QLineEdit;
class QRadioButton;

// The account wizard's first page: a new user, or one who already has an account (and
// then its user id and password).
class CRegisterTypePage : public CWizardPage {
  Q_OBJECT

 public:
  explicit CRegisterTypePage(CServiceAccountWizard& wizard);

  CServiceAccountWizard::Choice choice() const { return m_choice; }
  QString userId() const;
  QString password() const;
  const RequiredFields& marks() const { return m_marks; }

  void onSetActive() override;
  void onWizardNext() override;

 private:
  void choose(CServiceAccountWizard::Choice choice);

  CServiceAccountWizard& m_wizard;
  CServiceAccountWizard::Choice m_choice = CServiceAccountWizard::NewUser;
  QRadioButton* m_newUser;
  QRadioButton* m_existingUser;
  QLabel* m_userIdLabel;
  QLineEdit* m_userId;
  QLabel* m_passwordLabel;
  QLineEdit* m_password;
  RequiredFields m_marks;
};
