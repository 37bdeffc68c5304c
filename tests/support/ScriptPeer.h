#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// A peer of the tests written in Python (a server of the test's own, or one of Debian's
// driven by a script), run with /usr/bin/python3. Its first line, "name=value", says
// where it listens ("port=<n>" of a free loopback port). It ends when this object goes,
// or when the test process dies: its standard input closes.
class ScriptPeer {
 public:
  ~ScriptPeer();
  // script: a full path. package names what installs the peer's modules. False, with a
  // failure recorded, when it did not start or report.
  bool start(const QString& script, const QStringList& arguments = {}, const char* package = "python3");
  // What the peer reported after its "name=".
  QString reported() const { return m_reported; }
  int port() const { return m_reported.toInt(); }
  QString host() const { return QStringLiteral("127.0.0.1:%1").arg(port()); }

 private:
  QProcess m_process;
  QString m_reported;
};
