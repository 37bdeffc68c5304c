// Live Update through its module, against the reference service serving older, equal,
// newer and malformed notices, and against servers that fail.

#include <QProgressDialog>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include "help/HelpCommands.h"
#include "help/HelpFixture.h"
#include "support/ReferenceService.h"

namespace {

const QString kCannotCheck = QStringLiteral("Brivane could not check for updates: ");

// Answers every request with one canned reply, or never when it is empty.
class CannedServer {
 public:
  explicit CannedServer(QByteArray reply) : m_reply(std::move(reply)) {
    QObject::connect(&m_server, &QTcpServer::newConnection, [this] {
      while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        if (m_reply.isEmpty()) continue;  // kept open and silent until the server goes
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
          if (!socket->readAll().contains("\r\n\r\n")) return;
          socket->write(m_reply);
          socket->disconnectFromHost();
        });
      }
    });
    m_server.listen(QHostAddress::LocalHost, 0);
  }
  QString host() const { return QStringLiteral("127.0.0.1:%1").arg(m_server.serverPort()); }

 private:
  QByteArray m_reply;
  QTcpServer m_server;
};

class LiveUpdateTest : public HelpFixture {
 protected:
  static std::unique_ptr<ReferenceService> Serve(const QStringList& arguments) {
    ReferenceService::Options options;
    options.https = false;
    options.arguments = arguments;
    auto service = std::make_unique<ReferenceService>(options);
    EXPECT_TRUE(service->isRunning()) << service->error().toStdString();
    return service;
  }
  // Runs Live Update against updateHost as the menu item does; the prompts it made.
  QList<ScriptedPrompter::Prompt> Check(const QString& updateHost) {
    Set("UpdateHost", updateHost);
    const qsizetype before = prompter.prompts().size();
    EXPECT_EQ(HelpCommands(*host).liveUpdate(), 0);
    return prompter.prompts().mid(before);
  }
  static QString Host(const ReferenceService& service) {
    return QStringLiteral("127.0.0.1:%1").arg(service.httpPort());
  }
  static bool Is(const QList<ScriptedPrompter::Prompt>& prompts, ScriptedPrompter::Kind kind,
                 const QString& start) {
    return prompts.size() == 1 && prompts[0].kind == kind && prompts[0].text.startsWith(start);
  }
  static QString Shown(const QList<ScriptedPrompter::Prompt>& prompts) {
    QStringList texts;
    for (const auto& prompt : prompts) texts << prompt.text;
    return texts.join(" | ");
  }
};

TEST_F(LiveUpdateTest, OnlyANewerVersionIsOfferedAndOpenedOnYes) {
  for (const char* notServed : {"1.0", "1.1", "1.1.0", "0.9.9"}) {
    const auto service = Serve({"--update-version", notServed});
    const auto prompts = Check(Host(*service));
    EXPECT_TRUE(Is(prompts, ScriptedPrompter::Kind::Message, "Brivane is up to date."))
        << Shown(prompts).toStdString();
  }

  const auto service = Serve({"--update-version", "1.10"});
  // The service's own download page, with the host name it was reached by.
  const QString download = QStringLiteral("http://localhost:%1/brivane/").arg(service->httpPort());
  EXPECT_TRUE(service->get("/brivane/").contains("Veldano"));
  prompter.answer(Prompter::Answer::No);
  auto prompts = Check(Host(*service));
  ASSERT_TRUE(Is(prompts, ScriptedPrompter::Kind::Question,
                 "A newer version of Brivane is available: version 1.10"))
      << Shown(prompts).toStdString();
  EXPECT_TRUE(prompts[0].text.endsWith("\n" + download));
  prompter.answer(Prompter::Answer::Yes);
  prompts = Check(Host(*service));
  EXPECT_EQ(prompts.size(), 1);
  // Only the Yes opened anything, and only the download page.
  EXPECT_EQ(Opened(1), QStringList({"1|" + download}));
}

TEST_F(LiveUpdateTest, MalformedNoticesAreRefused) {
  const QString marker = home.filePath("ran");
  const QString good = QStringLiteral("http://127.0.0.1/brivane/");
  const QStringList notices[] = {
      {"--update-version", "1.x"},
      {"--update-url", "http://127.0.0.1/a b/"},
      {"--update-url", "http://127.0.0.1/$(touch " + marker + ")/"},
      {"--update-sha256", "abc123"},
  };
  for (const QStringList& notice : notices) {
    const auto service =
        Serve(QStringList{"--update-version", "9.0", "--update-url", good} + notice);
    const auto prompts = Check(Host(*service));
    EXPECT_TRUE(Is(prompts, ScriptedPrompter::Kind::Error,
                   kCannotCheck + "the update server's answer was refused: "))
        << notice.join(' ').toStdString() << ": " << Shown(prompts).toStdString();
  }
  EXPECT_FALSE(QFile::exists(marker));
  EXPECT_FALSE(QFile::exists(home.filePath("opened.txt")));
}

TEST_F(LiveUpdateTest, FailingServersGiveAClearMessage) {
  const auto check = [&](const QString& updateHost, const QString& reason) {
    const auto prompts = Check(updateHost);
    EXPECT_TRUE(Is(prompts, ScriptedPrompter::Kind::Error, kCannotCheck + reason))
        << Shown(prompts).toStdString();
  };
  int closedPort = 0;
  {
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost, 0));
    closedPort = closed.serverPort();
  }
  check(QStringLiteral("127.0.0.1:%1").arg(closedPort), "the update server could not be reached (");
  check(CannedServer("HTTP/1.0 404 Not Found\r\nContent-Length: 0\r\n\r\n").host(),
        "the update server answered with HTTP status 404.");
  check(CannedServer("HTTP/1.0 200 OK\r\n\r\n" + QByteArray(20000, 'x')).host(),
        "the update server's answer is longer than");
  check(CannedServer("HTTP/1.0 200 OK\r\n\r\n<html><body>Moved</body></html>").host(),
        "the update server's answer was refused: ");
  check(QStringLiteral("example.org/evil"),
        "the update server \"example.org/evil\" is not a host name.");
  // A server that takes the request and never answers: the check gives up on its own.
  check(CannedServer({}).host(), "the update server did not answer in time.");
}

TEST_F(LiveUpdateTest, CancelStopsTheCheckQuietly) {
  CannedServer silent({});
  QTimer watcher;
  QObject::connect(&watcher, &QTimer::timeout, [&] {
    if (auto* box = host->window.findChild<QProgressDialog*>("liveUpdateProgress"))
      if (auto* cancel = box->findChild<QPushButton*>()) cancel->click();
  });
  watcher.start(50);
  EXPECT_TRUE(Check(silent.host()).isEmpty());
}

TEST_F(LiveUpdateTest, AMissingOrBrokenModuleOnlyFailsTheCheck) {
  QTemporaryDir program;
  qputenv("BRIVANE_PROGRAM_FOLDER", program.path().toUtf8() + "/");
  auto prompts = Check(QStringLiteral("127.0.0.1:1"));
  EXPECT_TRUE(Is(prompts, ScriptedPrompter::Kind::Error,
                 kCannotCheck + "the update module could not be loaded ("))
      << Shown(prompts).toStdString();

  QFile broken(program.filePath("tervola.dll"));
  ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
  broken.write("not a module");
  broken.close();
  prompts = Check(QStringLiteral("127.0.0.1:1"));
  EXPECT_TRUE(Is(prompts, ScriptedPrompter::Kind::Error,
                 kCannotCheck + "the update module could not be loaded ("))
      << Shown(prompts).toStdString();

  // A library that is not the update module.
  ASSERT_TRUE(QFile::remove(broken.fileName()));
  ASSERT_TRUE(QFile::link(BRIVANE_PROGRAM_DIR "ltkrn10n.dll", broken.fileName()));
  prompts = Check(QStringLiteral("127.0.0.1:1"));
  EXPECT_TRUE(Is(prompts, ScriptedPrompter::Kind::Error, kCannotCheck + "the update module"))
      << Shown(prompts).toStdString();
  EXPECT_TRUE(prompts.value(0).text.endsWith("has no entry LiveUpdate."));
}

}  // namespace
