#pragma once

#include <QString>
#include <QStringList>

#include "support/ScriptPeer.h"

// A peer script of this folder: the SMTP server (smtp_peer.py on aiosmtpd, reporting
// "port=<n>" of a free loopback port) or the secret service (keyring_peer.py, reporting
// "address=<bus address>"). It ends when this object goes, or when the test process dies
// (its standard input closes).
class MailPeer {
 public:
  // False with a failure recorded when it did not start.
  bool start(const QStringList& arguments, const QString& script = QStringLiteral("smtp_peer.py")) {
    return m_peer.start(QStringLiteral(BRIVANE_SOURCE_DIR "tests/mail/") + script, arguments, "python3-aiosmtpd");
  }
  int port() const { return m_peer.port(); }
  // What the peer reported after its "name=".
  QString reported() const { return m_peer.reported(); }

 private:
  ScriptPeer m_peer;
};

// A self-signed certificate and its key for 127.0.0.1 and localhost (or for another
// name), made with the openssl tool into folder as <stem>.pem and <stem>.key.
bool MakeCertificate(const QString& folder, const QString& stem, const QString& name = {});
