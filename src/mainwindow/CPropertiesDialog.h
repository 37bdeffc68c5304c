#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;
class QSpinBox;

// What File > Preferences shows and returns: the user's e-mail address and how to reach
// the outgoing mail server.
struct MailPreferences {
  QString emailAddress;
  QString emailServer;
  int port = 25;
  QString security = QStringLiteral("none");  // "none", "starttls" or "tls"
  QString user;
  QString password;
};

// The "Properties" dialog of File > Preferences. It only shows and returns the values;
// the main window stores them.
class CPropertiesDialog : public QDialog {
  Q_OBJECT

 public:
  explicit CPropertiesDialog(const MailPreferences& preferences, QWidget* parent = nullptr);

  MailPreferences preferences() const;

 private:
  void securityChosen();

  QLineEdit* m_address;
  QLineEdit* m_server;
  QSpinBox* m_port;
  QComboBox* m_security;
  QLineEdit* m_user;
  QLineEdit* m_password;
};
