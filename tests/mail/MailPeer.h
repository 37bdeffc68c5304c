#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// A peer script of this folder: the SMTP server (smtp_peer.py on aiosmtpd, reporting
// "port=<n>" of a free loopback port) or the secret service (keyring_peer.py, reporting
// "address=<bus address>"). It ends when this object goes, or when the test process dies
// (its standard input closes).
class MailPeer {
 public:
  ~MailPeer();
  // False with a failure recorded when it did not start.
  bool start(const QStringList& arguments, const QString& script = QStringLiteral("smtp_peer.py"));
  int port() const { return m_reported.toInt(); }
  // What the peer reported after its "name=".
  QString reported() const { return m_reported; }

 private:
  QProcess m_process;
  QString m_reported;
};

// A self-signed certificate and its key for 127.0.0.1 and localhost (or for another
// name), made with the openssl tool into folder as <stem>.pem and <stem>.key.
bool MakeCertificate(const QString& folder, const QString& stem, const QString& name = {});
