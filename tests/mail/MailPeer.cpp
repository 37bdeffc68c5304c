#include "mail/MailPeer.h"

#include <gtest/gtest.h>

#include "support/RequireTool.h"

MailPeer::~MailPeer() {
  if (m_process.state() == QProcess::NotRunning) return;
  // Closing its input lets a peer stop the servers it started itself.
  m_process.closeWriteChannel();
  if (!m_process.waitForFinished(5000)) {
    m_process.kill();
    m_process.waitForFinished(5000);
  }
}

bool MailPeer::start(const QStringList& arguments, const QString& script) {
  if (!RequireTool(QStringLiteral("/usr/bin/python3"), "python3-aiosmtpd")) return false;
  m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  m_process.start(
      QStringLiteral("/usr/bin/python3"),
      QStringList{QStringLiteral(BRIVANE_SOURCE_DIR "tests/mail/") + script} + arguments);
  if (!m_process.waitForStarted(10000)) {
    ADD_FAILURE() << "The peer " << script.toStdString() << " did not start";
    return false;
  }
  while (!m_process.canReadLine()) {
    if (!m_process.waitForReadyRead(15000)) {
      ADD_FAILURE() << "The peer " << script.toStdString() << " did not report";
      return false;
    }
  }
  const QString line = QString::fromUtf8(m_process.readLine().trimmed());
  const qsizetype equals = line.indexOf(u'=');
  m_reported = line.mid(equals + 1);
  if (equals < 0 || m_reported.isEmpty()) {
    ADD_FAILURE() << "The peer " << script.toStdString() << " said " << line.toStdString();
    return false;
  }
  return true;
}

bool MakeCertificate(const QString& folder, const QString& stem, const QString& name) {
  if (!RequireTool(QStringLiteral("openssl"), "openssl")) return false;
  const QString subject = name.isEmpty() ? QStringLiteral("localhost") : name;
  const QString alternatives = name.isEmpty()
                                   ? QStringLiteral("subjectAltName=DNS:localhost,IP:127.0.0.1")
                                   : QStringLiteral("subjectAltName=DNS:") + name;
  QProcess openssl;
  openssl.setProcessChannelMode(QProcess::ForwardedChannels);
  openssl.start(QStringLiteral("openssl"),
                {"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1",
                 "-nodes", "-days", "2", "-subj", "/CN=" + subject, "-addext", alternatives,
                 "-keyout", folder + stem + ".key", "-out", folder + stem + ".pem"});
  if (!openssl.waitForFinished(30000) || openssl.exitCode() != 0) {
    ADD_FAILURE() << "openssl could not make a certificate";
    return false;
  }
  return true;
}
