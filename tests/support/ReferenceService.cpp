#include "support/ReferenceService.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <QDeadlineTimer>
#include <QFile>
#include <QRegularExpression>

namespace {
// Starting includes making the TLS key and, with FTP, starting Python.
constexpr int kStartMilliseconds = 20000;
constexpr int kAnswerSeconds = 20;

// The size of the whole answer once its headers are in, or -1.
qsizetype AnswerSize(const QByteArray& answer) {
  static const QRegularExpression kLength("\r\ncontent-length: *(\\d+)",
                                          QRegularExpression::CaseInsensitiveOption);
  const qsizetype end = answer.indexOf("\r\n\r\n");
  if (end < 0) return -1;
  const auto length = kLength.match(QString::fromLatin1(answer.left(end)));
  return length.hasMatch() ? end + 4 + length.captured(1).toLongLong() : -1;
}
}  // namespace

ReferenceService::ReferenceService(const Options& options) {
  dataFolder_ = folder_.path() + "/data";
  QStringList arguments = {"--data",
                           dataFolder_,
                           "--bind",
                           "127.0.0.1",
                           "--http",
                           "0",
                           "--https",
                           options.https ? "0" : "off",
                           "--ftp",
                           options.ftp ? "0" : "off",
                           "--stop-with-parent"};
  if (!options.database.isEmpty()) arguments << "--database" << options.database;
  arguments << options.arguments;
  process_.setProgram(QString(BRIVANE_PROGRAM_DIR) + "brivane-service");
  process_.setArguments(arguments);
  // To a file, not a pipe: nothing reads a pipe while a test runs without an event loop,
  // and once it is full the service and its upload server would stop at their next line.
  process_.setStandardErrorFile(errorFile());
  process_.start();
  if (!process_.waitForStarted(kStartMilliseconds)) {
    error_ = "cannot start " + process_.program() + ": " + process_.errorString();
    return;
  }
  QDeadlineTimer deadline(kStartMilliseconds);
  while (!process_.canReadLine() && process_.state() == QProcess::Running && !deadline.hasExpired())
    process_.waitForReadyRead(static_cast<int>(std::max<qint64>(1, deadline.remainingTime())));
  const QString line = QString::fromUtf8(process_.readLine()).trimmed();
  const auto match =
      QRegularExpression("^brivane-service http=(\\d+) https=(\\d+) ftp=(\\d+) data=(.+)$")
          .match(line);
  if (!match.hasMatch()) {
    error_ = "brivane-service did not start: " + QString::fromUtf8(standardError());
    return;
  }
  httpPort_ = match.captured(1).toInt();
  httpsPort_ = match.captured(2).toInt();
  ftpPort_ = match.captured(3).toInt();
  running_ = true;
}

ReferenceService::~ReferenceService() { stop(); }

QString ReferenceService::httpBase() const {
  return QString("http://127.0.0.1:%1/").arg(httpPort_);
}

int ReferenceService::stop() {
  if (process_.state() == QProcess::NotRunning) return process_.exitCode();
  process_.terminate();
  if (process_.waitForFinished(10000) && process_.exitStatus() == QProcess::NormalExit)
    return process_.exitCode();
  process_.kill();
  process_.waitForFinished(5000);
  return -1;
}

QByteArray ReferenceService::standardError() {
  QFile file(errorFile());
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

ReferenceService::Reply ReferenceService::request(const QByteArray& pathAndQuery) const {
  Reply reply;
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return reply;
  timeval timeout{kAnswerSeconds, 0};
  ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
  ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(httpPort_));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  QByteArray answer;
  if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
    const QByteArray text = "GET " + pathAndQuery + " HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n";
    if (::send(fd, text.constData(), static_cast<size_t>(text.size()), MSG_NOSIGNAL) ==
        text.size()) {
      char buffer[65536];
      // Until the service closes, or the body that Content-Length announces is complete.
      for (ssize_t got; AnswerSize(answer) < 0 || answer.size() < AnswerSize(answer);) {
        if ((got = ::recv(fd, buffer, sizeof buffer, 0)) <= 0) break;
        answer.append(buffer, got);
      }
    }
  }
  ::close(fd);
  const qsizetype end = answer.indexOf("\r\n\r\n");
  if (end < 0) return reply;
  reply.headers = answer.left(end);
  reply.body = answer.mid(end + 4);
  const QList<QByteArray> statusLine = reply.headers.left(reply.headers.indexOf("\r\n")).split(' ');
  if (statusLine.size() >= 2) reply.status = statusLine[1].toInt();
  return reply;
}
