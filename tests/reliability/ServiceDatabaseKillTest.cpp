// The reference service's SQLite database, the service killed at many of its writes,
// syncs and truncations while sign-ups that each add a row come in one after another:
// afterwards the service starts again on the same data and serves, the database passes
// SQLite's integrity check, and every sign-up that got its answer before the kill, and
// every row from before, is there.

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>

#include "Kill.h"
#include "KillHarness.h"

namespace {

constexpr int kSignUps = 24;

// One GET over HTTP/1.0 to the service on 127.0.0.1; the body, or "" when no answer came.
QByteArray Get(int port, const QByteArray& pathAndQuery) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return {};
  timeval timeout{10, 0};
  ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
  ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  QByteArray answer;
  if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
    const QByteArray text = "GET " + pathAndQuery + " HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n";
    if (::send(fd, text.constData(), static_cast<size_t>(text.size()), MSG_NOSIGNAL) ==
        text.size()) {
      char buffer[4096];
      for (ssize_t got; (got = ::recv(fd, buffer, sizeof buffer, 0)) > 0;)
        answer.append(buffer, got);
    }
  }
  ::close(fd);
  const qsizetype end = answer.indexOf("\r\n\r\n");
  return end < 0 || !answer.startsWith("HTTP/1.1 200") ? QByteArray() : answer.mid(end + 4);
}

// A sign-up; the new user's id, or "" when no answer came.
QByteArray SignUp(int port, int number) {
  const QByteArray answer =
      Get(port, "/register.asp?FirstName=N" + QByteArray::number(number) +
                    "&LastName=B&Address1=1&Address2=&City=C&State=S&Zip=1&Country=&Phone=1&"
                    "Fax=&Mobile=&Email=a%40b.com&Password=pw");
  return answer.startsWith("UserId=") ? answer.mid(7, 9) : QByteArray();
}

// brivane-service on its data folder: loopback, a free port, no HTTPS and no FTP.
KillCommand ServiceCommand(const QString& data) {
  return {QString(BRIVANE_PROGRAM_DIR) + "brivane-service",
          {"--data", data, "--bind", "127.0.0.1", "--http", "0", "--https", "off", "--ftp", "off",
           "--stop-with-parent"},
          {},
          {}};
}

// brivane-service on a data folder, on its own or under strace.
class Service {
 public:
  Service(const QString& data, const QStringList& strace) {
    const KillCommand command = ServiceCommand(data);
    PrepareProcess(process_, command);
    traced_ = !strace.isEmpty();
    if (traced_)
      process_.start(StraceProgram(), strace);
    else
      process_.start(command.program, command.arguments);
    process_.waitForStarted(20000);
    QDeadlineTimer deadline(20000);
    while (!process_.canReadLine() && process_.state() == QProcess::Running &&
           !deadline.hasExpired())
      process_.waitForReadyRead(100);
    const auto match =
        QRegularExpression("^brivane-service http=(\\d+) ").match(process_.readLine());
    if (match.hasMatch()) port_ = match.captured(1).toInt();
  }
  ~Service() { stop(); }

  // 0 when it did not start (or was killed before it listened).
  int port() const { return port_; }
  // Once it ended: whether a signal ended it (strace ends the way its service did).
  bool killed() const { return process_.exitStatus() == QProcess::CrashExit; }

  // Ends it with SIGTERM as an administrator would; false when it had to be killed.
  bool stop() {
    if (process_.state() == QProcess::NotRunning) return true;
    const pid_t pid = traced_ ? Child() : static_cast<pid_t>(process_.processId());
    if (pid > 0) ::kill(pid, SIGTERM);
    if (process_.waitForFinished(20000)) return true;
    process_.kill();
    process_.waitForFinished();
    return false;
  }

 private:
  // The service that strace started.
  pid_t Child() const {
    const qint64 strace = process_.processId();
    QFile children(QString("/proc/%1/task/%1/children").arg(strace));
    if (!children.open(QIODevice::ReadOnly)) return -1;
    return static_cast<pid_t>(children.readAll().split(' ').value(0).toLong());
  }

  QProcess process_;
  bool traced_ = false;
  int port_ = 0;
};

// What is wrong with the database; its user ids go to users.
QString CheckDatabase(const QString& file, QSet<QByteArray>& users) {
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(QFile::encodeName(file).constData(), &db, SQLITE_OPEN_READWRITE, nullptr) !=
      SQLITE_OK) {
    sqlite3_close(db);
    return "the database does not open";
  }
  QString problem;
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &statement, nullptr) != SQLITE_OK ||
      sqlite3_step(statement) != SQLITE_ROW ||
      QByteArray(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0))) != "ok")
    problem = "the integrity check failed";
  sqlite3_finalize(statement);
  if (sqlite3_prepare_v2(db, "SELECT user_id FROM users", -1, &statement, nullptr) == SQLITE_OK)
    while (sqlite3_step(statement) == SQLITE_ROW)
      users.insert(QByteArray(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0))));
  else if (problem.isEmpty())
    problem = "the users cannot be read";
  sqlite3_finalize(statement);
  sqlite3_close(db);
  return problem;
}

TEST_F(Kill, ServiceDatabase) {
  // The data from before: a database with a few users, the service stopped.
  const QString baseline = Base() + "baseline/";
  QSet<QByteArray> before;
  {
    Service service(baseline + "data", {});
    ASSERT_GT(service.port(), 0);
    for (int i = 0; i < 3; ++i) before.insert(SignUp(service.port(), i));
    ASSERT_TRUE(service.stop());
  }
  ASSERT_EQ(before.size(), 3);
  ASSERT_FALSE(before.contains(QByteArray()));

  const QStringList calls = {"pwrite64", "write", "fdatasync", "fsync", "ftruncate"};
  // Every sign-up that was answered; "" when the service did not start.
  const auto signUps = [](const Service& service) {
    QList<QByteArray> answered;
    for (int i = 0; service.port() > 0 && i < kSignUps; ++i) {
      const QByteArray id = SignUp(service.port(), 100 + i);
      if (id.isEmpty()) break;
      answered << id;
    }
    return answered;
  };

  const QString counting = Base() + "count/";
  ASSERT_TRUE(CopyTree(baseline, counting));
  QMap<QString, int> counts;
  {
    Service service(counting + "data",
                    StraceArguments(ServiceCommand(counting + "data"), calls, 0, Base() + "trace"));
    ASSERT_GT(service.port(), 0);
    ASSERT_EQ(signUps(service).size(), kSignUps);
    ASSERT_TRUE(service.stop());
    counts = ReadCallCounts(Base() + "trace", calls);
  }

  KillTally tally;
  QStringList countText;
  int index = 0;
  for (const QString& call : calls) {
    const QList<int> points = KillPoints(counts.value(call), kSignUps);
    countText << QString("%1 %2 (%3 points)").arg(call).arg(counts.value(call)).arg(points.size());
    for (const int n : points) {
      const QString folder = QString("%1k%2/").arg(Base()).arg(++index);
      ASSERT_TRUE(CopyTree(baseline, folder));
      QList<QByteArray> answered;
      bool killed = false;
      {
        Service service(folder + "data",
                        StraceArguments(ServiceCommand(folder + "data"), {call}, n));
        answered = signUps(service);
        // The service may also be killed while it stops, closing its database.
        service.stop();
        killed = service.killed();
      }
      QString problem;
      {
        Service again(folder + "data", {});
        if (again.port() == 0)
          problem = "the service does not start again";
        else if (SignUp(again.port(), 999).isEmpty())
          problem = "the service started again does not sign up";
        else if (!again.stop())
          problem = "the service started again does not stop";
      }
      QSet<QByteArray> users;
      if (problem.isEmpty()) problem = CheckDatabase(folder + "data/service.db", users);
      for (const QByteArray& id : before + QSet<QByteArray>(answered.begin(), answered.end()))
        if (problem.isEmpty() && !users.contains(id))
          problem = "the row of user " + QString::fromLatin1(id) + " is lost";
      ++tally.points;
      if (killed) ++tally.killed;
      if (problem.isEmpty())
        ++tally.survived;
      else
        tally.faults << QString("%1 #%2: %3").arg(call).arg(n).arg(problem);
      QDir(folder).removeRecursively();
    }
  }
  std::printf("[kill] service.db: calls per thread: %s\n", qPrintable(countText.join(", ")));
  std::printf("[kill] service.db: %d kill points run, %d of them killed the service, %d survived\n",
              tally.points, tally.killed, tally.survived);
  EXPECT_GT(tally.killed, 0);
  EXPECT_EQ(tally.survived, tally.points) << tally.faults.join("\n").toStdString();
}

}  // namespace
