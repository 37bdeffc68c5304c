#include "mail/MailPeer.h"

#include <gtest/gtest.h>

#include "support/RequireTool.h"

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
