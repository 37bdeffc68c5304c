#pragma once

#include <QString>

// The outgoing server's password: in the desktop's secret store (libsecret) when a
// secret service answers on the session bus, else in the settings file, key
// "EmailPassword" of section "Settings", with the file readable by its owner only.
class MailPasswordStore {
 public:
  explicit MailPasswordStore(const QString& settingsFile);

  bool Store(const QString& server, const QString& user, const QString& password);
  // Empty when none is kept.
  QString Load(const QString& server, const QString& user);
  void Forget(const QString& server, const QString& user);

  // Whether a secret service answered the last call (false: the settings file was used).
  bool usedSecretService() const { return m_usedSecretService; }

 private:
  QString m_settingsFile;
  bool m_usedSecretService = false;
};
