#include "inet/PeerProcess.h"

#include <gtest/gtest.h>

#include "support/RequireTool.h"

PeerProcess::~PeerProcess() {
  if (m_process.state() != QProcess::NotRunning) {
    m_process.kill();
    m_process.waitForFinished(5000);
  }
}

bool PeerProcess::start(const QString& script, const QStringList& arguments) {
  if (!RequireTool(QStringLiteral("/usr/bin/python3"), "python3")) return false;
  m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  m_process.start(QStringLiteral("/usr/bin/python3"),
                  QStringList{QStringLiteral(BRIVANE_SOURCE_DIR "tests/inet/") + script} + arguments);
  if (!m_process.waitForStarted(10000)) {
    ADD_FAILURE() << "The test peer " << script.toStdString() << " did not start";
    return false;
  }
  while (!m_process.canReadLine()) {
    if (!m_process.waitForReadyRead(15000)) {
      ADD_FAILURE() << "The test peer " << script.toStdString() << " did not report its port";
      return false;
    }
  }
  const QByteArray line = m_process.readLine().trimmed();
  if (!line.startsWith("port=")) {
    ADD_FAILURE() << "The test peer said " << line.toStdString();
    return false;
  }
  m_port = line.mid(5).toInt();
  return m_port > 0;
}
