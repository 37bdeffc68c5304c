#pragma once

#include "controls/CWizardPage.h"

class CServiceAccountWizard;
class QLabel;
class QPlainTextEdit;
class QPushButton;

// The account wizard's last page: "Register Me" sends the sign-up or the account check
// and shows how it went.
class CRegisterSendPage : public CWizardPage {
  Q_OBJECT

 public:
  explicit CRegisterSendPage(CServiceAccountWizard& wizard);

  QPushButton* registerButton() const { return m_register; }
  QString status() const;

  void onSetActive() override;
  void onWizardBack() override;

 private:
  void registerMe();
  void signUp();
  void checkAccount();
  // Sends the request for url on a fresh connection, on the background runner.
  QString send(const QString& url, const QString& busyText, QString* errorText);

  CServiceAccountWizard& m_wizard;
  QLabel* m_first;
  QLabel* m_second;
  QPushButton* m_register;
  QPlainTextEdit* m_status;
};
