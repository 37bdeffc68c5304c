#include "PostgresCluster.h"

#include <netinet/in.h>
#include <pwd.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QFileInfo>
#include <QThread>

namespace {
int FreePort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  int port = 0;
  if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
    port = ntohs(address.sin_port);
  ::close(fd);
  return port;
}

// Runs a program; its output on failure, empty on success.
QString Run(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.setProcessChannelMode(QProcess::MergedChannels);
  process.start(program, arguments);
  if (!process.waitForFinished(60000) || process.exitCode() != 0)
    return program + " " + arguments.join(' ') + ": " + QString::fromUtf8(process.readAll());
  return {};
}
}  // namespace

bool PostgresCluster::available() {
  return QFileInfo(QString(kBinaries) + "initdb").isExecutable() && ::getpwnam("postgres");
}

PostgresCluster::PostgresCluster() {
  const passwd* user = ::getpwnam("postgres");
  if (!user || ::chown(folder_.path().toLocal8Bit().constData(), user->pw_uid, user->pw_gid) != 0) {
    error_ = "no postgres user, or cannot hand it the folder";
    return;
  }
  const QString data = folder_.path() + "/cluster";
  error_ =
      Run("runuser", {"-u", "postgres", "--", QString(kBinaries) + "initdb", "-D", data, "-U",
                      "postgres", "-A", "trust", "--no-sync", "-E", "UTF8", "--locale=C.UTF-8"});
  if (!error_.isEmpty()) return;
  port_ = FreePort();
  // setpriv keeps the parent-death signal after switching user: the server ends with us.
  server_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  server_.start("setpriv", {"--reuid=postgres",
                            "--regid=postgres",
                            "--init-groups",
                            "--pdeathsig",
                            "TERM",
                            "--",
                            QString(kBinaries) + "postgres",
                            "-D",
                            data,
                            "-k",
                            folder_.path(),
                            "-p",
                            QString::number(port_),
                            "-c",
                            "listen_addresses=127.0.0.1",
                            "-c",
                            "fsync=off",
                            "-c",
                            "full_page_writes=off",
                            "-c",
                            "max_connections=100",
                            "-c",
                            "log_min_messages=warning"});
  if (!server_.waitForStarted(10000)) {
    error_ = "cannot start postgres through setpriv";
    return;
  }
  for (int i = 0; i < 200 && server_.state() == QProcess::Running; ++i) {
    if (Run(QString(kBinaries) + "pg_isready",
            {"-q", "-h", "127.0.0.1", "-p", QString::number(port_)})
            .isEmpty()) {
      running_ = true;
      error_.clear();
      return;
    }
    QThread::msleep(50);
  }
  error_ = "postgres did not become ready";
}

PostgresCluster::~PostgresCluster() {
  if (server_.state() == QProcess::NotRunning) return;
  // SIGINT: "fast" shutdown.
  ::kill(static_cast<pid_t>(server_.processId()), SIGINT);
  if (!server_.waitForFinished(10000)) {
    server_.kill();
    server_.waitForFinished(5000);
  }
}

QString PostgresCluster::freshDatabase() {
  const QString name = QString("service_%1").arg(++databases_);
  const QString problem =
      Run(QString(kBinaries) + "psql", {"-q", "-h", "127.0.0.1", "-p", QString::number(port_), "-U",
                                        "postgres", "-c", "CREATE DATABASE " + name});
  if (!problem.isEmpty()) error_ = problem;
  return QString("host=127.0.0.1 port=%1 user=postgres dbname=%2").arg(port_).arg(name);
}
