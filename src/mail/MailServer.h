#pragma once

#include <QString>

// The outgoing mail server the user set in the preferences.
struct MailServer {
  enum class Security { None, StartTls, Tls };
  QString host;
  // 0: the usual port of the security (465 for Tls, else 25).
  int port = 25;
  Security security = Security::None;
  // Empty: no AUTH.
  QString userName;
  QString password;
  // A certificate trusted besides the system's (a self-hosted server's own).
  QString caFile;
  int timeoutSeconds = 30;
};

// The settings values "none", "starttls" and "tls"; anything else reads as None.
inline QString SecurityName(MailServer::Security security) {
  switch (security) {
    case MailServer::Security::StartTls:
      return QStringLiteral("starttls");
    case MailServer::Security::Tls:
      return QStringLiteral("tls");
    case MailServer::Security::None:
      break;
  }
  return QStringLiteral("none");
}

inline MailServer::Security SecurityFromName(const QString& name) {
  const QString n = name.trimmed().toLower();
  if (n == QLatin1String("starttls")) return MailServer::Security::StartTls;
  if (n == QLatin1String("tls")) return MailServer::Security::Tls;
  return MailServer::Security::None;
}
