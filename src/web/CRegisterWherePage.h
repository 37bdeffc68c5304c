#pragma once

#include "controls/CWizardPage.h"
#include "web/RequiredFields.h"

class CServiceAccountWizard;
class QLabel;
class QLineEdit;

// The account wizard's password page: the password, typed twice.
class CRegisterWherePage : public CWizardPage {
  Q_OBJECT

 public:
  static constexpr int kPasswordLimit = 15;

  explicit CRegisterWherePage(CServiceAccountWizard& wizard);

  QString password() const;
  const RequiredFields& marks() const { return m_marks; }

  void onSetActive() override;
  void onWizardNext() override;

 private:
  CServiceAccountWizard& m_wizard;
  QLineEdit* m_password;
  QLineEdit* m_again;
  QLabel* m_status;
  RequiredFields m_marks;
};
