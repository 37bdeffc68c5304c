#include "support/ScriptPeer.h"

#include <gtest/gtest.h>

#include "support/RequireTool.h"

ScriptPeer::~ScriptPeer() {
  if (m_process.state() == QProcess::NotRunning) return;
  // Closing its input lets a peer stop the servers it started itself.
  m_process.closeWriteChannel();
  if (!m_process.waitForFinished(5000)) {
    m_process.kill();
    m_process.waitForFinished(5000);
  }
}

bool ScriptPeer::start(const QString& script, const QStringList& arguments, const char* package) {
  if (!RequireTool(QStringLiteral("/usr/bin/python3"), package)) return false;
  m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  m_process.start(QStringLiteral("/usr/bin/python3"), QStringList{script} + arguments);
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
