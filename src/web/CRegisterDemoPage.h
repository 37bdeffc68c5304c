#pragma once

#include "controls/CWizardPage.h"
#include "web/AccountRequests.h"
#include "web/RequiredFields.h"

class CServiceAccountWizard;
class QLabel;
class QLineEdit;

// The account wizard's page about the new user: name, address, phone and e-mail.
class CRegisterDemoPage : public CWizardPage {
  Q_OBJECT

 public:
  explicit CRegisterDemoPage(CServiceAccountWizard& wizard);

  // The fields as last taken (trimmed) when the user went on.
  const RegistrationDetails& details() const { return m_details; }
  const RequiredFields& marks() const { return m_marks; }

  void onSetActive() override;
  void onWizardNext() override;

 private:
  QLineEdit* field(int id) const;

  RegistrationDetails m_details;
  RequiredFields m_marks;
  QLabel* m_status;
};
