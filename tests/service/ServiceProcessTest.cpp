// The program as a process: its options, exit codes, commands, photo files, the FTP child
// it starts and stops, and what it does with requests that make no sense.

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <thread>
#include <vector>

#include "support/ReferenceService.h"

namespace {
const QString kProgram = QString(BRIVANE_PROGRAM_DIR) + "brivane-service";

struct Outcome {
  int exitCode = -1;
  QByteArray output;
  QByteArray error;
};

Outcome RunService(const QStringList& arguments, const QString& program = kProgram) {
  QProcess process;
  process.start(program, arguments);
  Outcome run;
  if (!process.waitForFinished(20000)) {
    process.kill();
    process.waitForFinished();
    return run;
  }
  run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  run.output = process.readAllStandardOutput();
  run.error = process.readAllStandardError();
  return run;
}

// Sends raw bytes to the port and returns what comes back before the service closes.
QByteArray SendRaw(int port, const QByteArray& bytes) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  // Only what comes at once matters: the service may keep a bad connection open a while.
  timeval timeout{2, 0};
  ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  QByteArray answer;
  if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
    ::send(fd, bytes.constData(), static_cast<size_t>(bytes.size()), MSG_NOSIGNAL);
    char buffer[4096];
    for (ssize_t got; (got = ::recv(fd, buffer, sizeof buffer, 0)) > 0;) answer.append(buffer, got);
  }
  ::close(fd);
  return answer;
}

QByteArray SignUp(const ReferenceService& service) {
  const QByteArray answer = service.get(
      "/register.asp?FirstName=Al&LastName=Li&Address1=R&Address2=&City=T&State=S&Zip=1"
      "&Country=&Phone=5&Fax=&Mobile=&Email=a%40b.org&Password=pw");
  return answer.mid(7, 9);
}

TEST(ServiceProcess, RefusesBadOptionsAndPlacesItCannotUse) {
  for (const QStringList& arguments :
       {QStringList{"--http", "seventy"}, QStringList{"--wrong"}, QStringList{"set-space", "1"}}) {
    const Outcome run = RunService(arguments);
    EXPECT_EQ(run.exitCode, 2) << arguments.join(' ').toStdString();
    EXPECT_TRUE(run.error.contains("Usage:")) << run.error.toStdString();
  }

  QTemporaryDir folder;
  // A port that another program holds.
  const int holder = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  ASSERT_EQ(::bind(holder, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ASSERT_EQ(::listen(holder, 1), 0);
  ::getsockname(holder, reinterpret_cast<sockaddr*>(&address), &length);
  const QString taken = QString::number(ntohs(address.sin_port));
  Outcome run = RunService(
      {"--data", folder.path() + "/a", "--http", taken, "--https", "off", "--ftp", "off"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(run.error.contains("cannot listen for HTTP")) << run.error.toStdString();
  run =
      RunService({"--data", folder.path() + "/b", "--http", "0", "--https", taken, "--ftp", "off"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(run.error.contains("cannot listen for HTTPS")) << run.error.toStdString();
  ::close(holder);

  QFile file(folder.path() + "/plain-file");
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();
  run = RunService({"--data", file.fileName() + "/data", "--http", "0", "--ftp", "off"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(run.error.contains("cannot use the data folder")) << run.error.toStdString();
}

TEST(ServiceProcess, SetSpaceAndListUsersWorkBesideTheRunningService) {
  ReferenceService service;
  ASSERT_TRUE(service.isRunning()) << service.error().toStdString();
  const QByteArray user = SignUp(service);
  const QString data = service.dataFolder();

  Outcome run = RunService({"--data", data, "set-space", QString::fromUtf8(user), "777"});
  EXPECT_EQ(run.exitCode, 0) << run.error.toStdString();
  EXPECT_TRUE(
      service.get("/getpaths.asp?UserId=" + user).contains("\r\nDiskSpacePurchased=777\r\n"));
  run = RunService({"--data", data, "set-space", "999999999", "1"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(run.error.contains("no account")) << run.error.toStdString();

  run = RunService({"--data", data, "list-users"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_TRUE(run.output.contains(user + "  ")) << run.output.toStdString();
  EXPECT_TRUE(run.output.contains("Al Li <a@b.org>")) << run.output.toStdString();

  struct stat info {};
  ASSERT_EQ(::stat(data.toLocal8Bit().constData(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);
  EXPECT_TRUE(QDir(data + "/upload/photos").exists());
  EXPECT_EQ(service.stop(), 0) << "ends cleanly on SIGTERM";
}

TEST(ServiceProcess, ServesOnlyPlainFilesOfTheUsersUploadFolder) {
  ReferenceService service;
  ASSERT_TRUE(service.isRunning()) << service.error().toStdString();
  const QString folder = service.dataFolder() + "/upload/photos/123456789/";
  ASSERT_TRUE(QDir().mkpath(folder));
  const QByteArray jpeg("\xFF\xD8 photo bytes \0 and more \xFF\xD9", 26);
  QFile file(folder + "Fish && Chips.jpg");
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(jpeg);
  file.close();
  QFile secret(service.dataFolder() + "/secret.jpg");
  ASSERT_TRUE(secret.open(QIODevice::WriteOnly));
  secret.write("not for you");
  secret.close();
  ASSERT_TRUE(QFile::link(secret.fileName(), folder + "link.jpg"));

  const auto reply = service.request("/photos/123456789/Fish%20%26%26%20Chips.jpg");
  EXPECT_EQ(reply.status, 200);
  EXPECT_EQ(reply.body, jpeg);
  EXPECT_TRUE(reply.headers.contains("Content-Type: image/jpeg")) << reply.headers.toStdString();
  for (const char* path :
       {"/photos/123456789/link.jpg", "/photos/123456789/..%2F..%2Fsecret.jpg",
        "/photos/123456789/../../secret.jpg", "/photos/123456789/%2E%2E", "/photos/12345678/x.jpg",
        "/photos/123456789/", "/photos/123456789/missing.jpg", "/photos/123456789/a%00b"})
    EXPECT_EQ(service.request(path).status, 404) << path;
}

TEST(ServiceProcess, SurvivesRequestsThatMakeNoSense) {
  ReferenceService service;
  ASSERT_TRUE(service.isRunning()) << service.error().toStdString();
  EXPECT_EQ(service.request("/getpaths.asp?UserId=" + QByteArray(70 * 1024, '1')).status, 414);
  EXPECT_EQ(service.request("/nothing.asp").status, 404);
  // The service waits out its read timeout on some of these: send them all at once.
  std::vector<std::thread> senders;
  for (const QByteArray& junk :
       {QByteArray("\x00\x01\x02garbage\r\n\r\n", 15), QByteArray("GET\r\n\r\n"),
        QByteArray("GET /getpaths.asp?%%%%=%%&&&&== HTTP/1.0\r\n\r\n"), QByteArray(100000, 'A'),
        QByteArray("GET / HTTP/1.1\r\nHost: x\r\nConnection: close\r\nContent-Length: -5\r\n\r\n"),
        QByteArray("POST /register.asp HTTP/1.0\r\nContent-Length: 3\r\n\r\nabc")})
    senders.emplace_back([port = service.httpPort(), junk] { SendRaw(port, junk); });
  for (std::thread& sender : senders) sender.join();
  EXPECT_EQ(service.get("/GetAlbums.ASP?UserId=1"), "AlbumCount=0\r\n")
      << "still answers, paths in any case";
  EXPECT_TRUE(service.get("/").contains("Pelloria"));
}

// A copy of the program with a stand-in upload server beside it that records how it was
// started and stopped.
TEST(ServiceProcess, StartsTheUploadServerAndStopsItWhenItEnds) {
  QTemporaryDir folder;
  const QString program = folder.path() + "/bin/brivane-service";
  ASSERT_TRUE(QDir().mkpath(folder.path() + "/bin/service"));
  ASSERT_TRUE(QFile::copy(kProgram, program));
  const QString record = folder.path() + "/record";
  QFile script(folder.path() + "/bin/service/upload_server.py");
  ASSERT_TRUE(script.open(QIODevice::WriteOnly));
  script.write(QString(R"(import signal, sys, time
with open('%1', 'w') as f:
    f.write(' '.join(sys.argv[1:]) + '\n')
def stop(*_):
    with open('%1', 'a') as f:
        f.write('stopped\n')
    sys.exit(0)
signal.signal(signal.SIGTERM, stop)
print('ftp=2999', flush=True)
print('later output must not hurt', flush=True)
while True:
    time.sleep(1)
)")
                   .arg(record)
                   .toUtf8());
  script.close();

  QProcess service;
  service.start(program, {"--data", folder.path() + "/data", "--http", "0", "--https", "off",
                          "--ftp", "0", "--ftp-passive-ports", "3000-3009", "--public-host",
                          "photos.example.org", "--stop-with-parent"});
  ASSERT_TRUE(service.waitForReadyRead(20000)) << service.readAllStandardError().toStdString();
  const QByteArray line = service.readLine();
  EXPECT_TRUE(line.contains(" ftp=2999 ")) << line.toStdString();
  QFile recorded(record);
  ASSERT_TRUE(recorded.open(QIODevice::ReadOnly));
  EXPECT_EQ(recorded.readAll(),
            "--root " + (folder.path() + "/data/upload").toUtf8() +
                " --bind 127.0.0.1 --port 0 --database " +
                (folder.path() + "/data/service.db").toUtf8() +
                " --passive-ports 3000-3009 --public-host photos.example.org --stop-with-parent\n");
  recorded.close();

  const int port = line.mid(line.indexOf("http=") + 5).split(' ').first().toInt();
  const QByteArray answer = SendRaw(port, "GET /getpaths.asp?UserId=1 HTTP/1.0\r\n\r\n");
  EXPECT_TRUE(answer.endsWith("ErrorMsg=There is no account with the User Id 1.\r\n"))
      << answer.toStdString();

  service.terminate();
  ASSERT_TRUE(service.waitForFinished(10000));
  EXPECT_EQ(service.exitCode(), 0);
  ASSERT_TRUE(recorded.open(QIODevice::ReadOnly));
  EXPECT_TRUE(recorded.readAll().endsWith("stopped\n")) << "the upload server was stopped";

  // Without the upload server the service says so and does not start.
  ASSERT_TRUE(QFile::remove(script.fileName()));
  const Outcome run =
      RunService({"--data", folder.path() + "/data", "--http", "0", "--https", "off"}, program);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(run.error.contains("upload_server.py is missing")) << run.error.toStdString();
}
}  // namespace
