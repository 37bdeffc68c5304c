#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// A test peer written in Python (an FTP or HTTP server of the test's own): started on a
// free loopback port, which it reports on its first line as "port=<n>". It ends when
// this object goes, or when the test process dies (its standard input closes).
class PeerProcess {
 public:
  ~PeerProcess();
  // script: a file of this folder; false with a failure recorded when it did not start.
  bool start(const QString& script, const QStringList& arguments = {});
  int port() const { return m_port; }
  QString host() const { return QStringLiteral("127.0.0.1:%1").arg(m_port); }

 private:
  QProcess m_process;
  int m_port = 0;
};
