// Publishing and retrieving against an upload server that turns hostile at one step of
// the FTP conversation: each run must end in time with a clear failure, and leave
// nothing outside My Photos and no cut file in it.

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QProcess>

#include "inet/FileEntry.h"
#include "support/RequireTool.h"
#include "support/ScriptPeer.h"
#include "websync/PublishRun.h"
#include "websync/RetrieveRun.h"
#include "websync/SyncTestSupport.h"

namespace {

constexpr char kUser[] = "100000001";
constexpr char kPhoto[] = "photo.jpg";
constexpr int kConnectSeconds = 2;
constexpr int kStallSeconds = 1;
// Time a run may take beyond the time-outs it waits for: starting, TLS, the other steps,
// and the speed check's averaging over the last five seconds of a data transfer.
constexpr qint64 kMarginMs = 6000;

// The bytes the peer serves as its photo.
QByteArray PeerPhoto() {
  QByteArray bytes(20000, '\0');
  for (int i = 0; i < bytes.size(); ++i) bytes[i] = char((qint64(i) * 7919 >> 3) & 0xff);
  return bytes;
}

enum class Run { Retrieve, Publish };
enum class Outcome {
  Fails,      // the run ends with Error, or the file is in Failed
  Refuses,    // hostile names go to Refused; the real photo arrives
  Completes,  // the work was done before the peer turned hostile
  KeepsFile,  // a delete fails: the photo is sent, the remote file is not counted gone
};

struct Case {
  std::string name;
  Run run;
  QStringList peer;
  Outcome outcome;
  // Words the message holds (any of them, "|" between).
  const char* words;
};

Case Retrieve(std::string name, QStringList peer, const char* words) {
  return {std::move(name), Run::Retrieve, std::move(peer), Outcome::Fails, words};
}
Case Publish(std::string name, QStringList peer, const char* words) {
  return {std::move(name), Run::Publish, std::move(peer), Outcome::Fails, words};
}
QStringList Fault(const QString& fault) { return {"--fault", fault}; }

constexpr char kBroke[] = "broke off|connection|reset";
constexpr char kStalled[] = "stopped answering";
constexpr char kCut[] = "partial|bytes arrived|broke off";

std::vector<Case> Cases() {
  std::vector<Case> cases;
  // A reset, and a reply that trickles without end, at every step of the conversation.
  const struct {
    const char* step;
    Run run;
    QStringList more;
  } steps[] = {
      {"greeting", Run::Retrieve, {}}, {"USER", Run::Retrieve, {}},
      {"PASS", Run::Retrieve, {}},     {"TYPE", Run::Retrieve, {}},
      {"CWD", Run::Retrieve, {}},      {"MKD", Run::Publish, {"--no-user-folder"}},
      {"PASV", Run::Retrieve, {}},     {"LIST", Run::Retrieve, {}},
      {"RETR", Run::Retrieve, {}},     {"STOR", Run::Publish, {}},
      {"RNFR", Run::Publish, {}},      {"RNTO", Run::Publish, {}},
      {"MFMT", Run::Publish, {}},      {"DELE", Run::Publish, {"--extra", "old.jpg"}},
  };
  for (const auto& step : steps) {
    for (const char* action : {"reset", "trickle"}) {
      const QString name =
          QStringLiteral("%1_%2").arg(QLatin1String(step.step), QLatin1String(action));
      const bool reset = action == QLatin1String("reset");
      const bool dele = step.step == QLatin1String("DELE");
      // The file stands under its name before its time is set: it was sent.
      const bool mfmt = step.step == QLatin1String("MFMT");
      cases.push_back(
          {name.toStdString(), step.run,
           Fault(QStringLiteral("%1:%2").arg(QLatin1String(step.step), QLatin1String(action))) +
               step.more,
           dele   ? Outcome::KeepsFile
           : mfmt ? Outcome::Completes
                  : Outcome::Fails,
           // A reset as the server accepts looks to libcurl like no server at all.
           step.step == QLatin1String("greeting") && reset ? "could not be reached|broke off"
           : reset                                         ? kBroke
                                                           : kStalled});
    }
  }
  // The work was done: a peer that breaks at the goodbye changes nothing of it.
  cases.push_back({"QUIT_reset", Run::Retrieve, Fault("QUIT:reset"), Outcome::Completes, ""});
  cases.push_back({"QUIT_trickle", Run::Retrieve, Fault("QUIT:trickle"), Outcome::Completes, ""});
  cases.push_back(
      {"QUIT_trickle_publish", Run::Publish, Fault("QUIT:trickle"), Outcome::Completes, ""});

  // The data connections.
  cases.push_back(Retrieve("LIST_data_reset", Fault("LIST-data:reset"), kBroke));
  cases.push_back(Retrieve("LIST_data_trickle", Fault("LIST-data:trickle"), kStalled));
  cases.push_back(Retrieve("LIST_data_unconfirmed", Fault("LIST-data:stall-end"), kStalled));
  cases.push_back(Retrieve("RETR_data_reset", Fault("RETR-data:reset"), kBroke));
  cases.push_back(Retrieve("RETR_data_trickle", Fault("RETR-data:trickle"), kStalled));
  cases.push_back(Retrieve("RETR_data_unconfirmed", Fault("RETR-data:stall-end"), kStalled));
  cases.push_back(Retrieve("RETR_data_short", Fault("RETR-data:short"), kCut));
  cases.push_back(Retrieve("RETR_data_long", Fault("RETR-data:long"), "more than"));
  cases.push_back(Retrieve("RETR_data_endless", Fault("RETR-data:endless"), "more than"));
  cases.push_back(Publish("STOR_data_reset", Fault("STOR-data:reset"), kBroke));
  cases.push_back(Publish("STOR_data_stall", Fault("STOR-data:stall"), kStalled));

  // Size claims: a photo listed at 5 GB that then comes short, or breaks off.
  cases.push_back(Retrieve("huge_claim_short", QStringList{"--listing", "huge"}, kCut));
  cases.push_back(Retrieve("huge_claim_reset",
                           QStringList{"--listing", "huge"} + Fault("RETR-data:reset"), kBroke));

  // Names that must never become paths, in both kinds of listing.
  cases.push_back(
      {"hostile_names_mlsd", Run::Retrieve, {"--listing", "hostile-mlsd"}, Outcome::Refuses, ""});
  cases.push_back(
      {"hostile_names_list", Run::Retrieve, {"--listing", "hostile-list"}, Outcome::Refuses, ""});

  // The service's own answers name folders that would leave the upload folder.
  for (const char* paths : {"dotdot", "nul", "backslash"})
    cases.push_back(Retrieve(std::string("paths_") + paths, {"--paths", paths}, "not allowed"));
  // A folder on the server from its root is the server's business: only it is read.
  cases.push_back(
      {"paths_absolute", Run::Retrieve, {"--paths", "absolute"}, Outcome::Completes, ""});
  cases.push_back(
      {"paths_cr_in_user", Run::Retrieve, {"--paths", "cr"}, Outcome::Fails, "cannot send"});
  cases.push_back(
      {"albums_with_paths", Run::Retrieve, {"--paths", "albums"}, Outcome::Completes, ""});
  return cases;
}

// A self-signed certificate for localhost, made once for the program.
struct Certificate {
  QTemporaryDir folder;
  bool made = false;
  QString cert() const { return folder.filePath("cert.pem"); }
  QString key() const { return folder.filePath("key.pem"); }
  Certificate() {
    if (!RequireTool(QStringLiteral("openssl"), "openssl")) return;
    QProcess openssl;
    openssl.start(QStringLiteral("openssl"),
                  {"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1",
                   "-nodes", "-days", "2", "-subj", "/CN=localhost", "-addext",
                   "subjectAltName=DNS:localhost,IP:127.0.0.1", "-keyout", key(), "-out", cert()});
    made = openssl.waitForFinished(30000) && openssl.exitCode() == 0;
  }
};

class HostileFtpPeer : public ::testing::TestWithParam<Case> {
 protected:
  static const Certificate& Tls() {
    static const Certificate certificate;
    return certificate;
  }

  void SetUp() override {
    ASSERT_TRUE(Tls().made) << "openssl could not make a certificate";
    ASSERT_TRUE(m_root.isValid());
    // The run's own temporaries, if it made any, land where the test looks for strays.
    m_oldTemp = qgetenv("TMPDIR");
    ASSERT_TRUE(QDir(m_root.path()).mkpath("tmp") &&
                QDir(m_root.path()).mkpath("program/myphotos"));
    qputenv("TMPDIR", m_root.filePath("tmp").toUtf8());
  }
  void TearDown() override { qputenv("TMPDIR", m_oldTemp); }

  QString photos() const { return m_root.path() + "/program/myphotos/"; }
  QString log() const { return QString::fromUtf8(ReadAll(m_root.filePath("peer.log"))); }

  // Entries of a folder, hidden ones too.
  static QStringList Entries(const QString& folder) {
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
  }

  QTemporaryDir m_root;
  QByteArray m_oldTemp;
};

TEST_P(HostileFtpPeer, EndsInTimeWithAClearFailureAndNothingStray) {
  const Case& c = GetParam();
  ScriptPeer peer;
  ASSERT_TRUE(peer.start(BRIVANE_SOURCE_DIR "tests/inet/hostile_ftp.py",
                         QStringList{"--https", Tls().cert() + ":" + Tls().key(), "--log",
                                     m_root.filePath("peer.log")} +
                             c.peer));
  InternetOptions options;
  options.caFile = Tls().cert();
  options.connectTimeoutSeconds = kConnectSeconds;
  options.stallTimeoutSeconds = kStallSeconds;
  options.activeAcceptTimeoutMs = 500;
  auto session = InternetSession::Open(options);
  ASSERT_TRUE(session);
  TestProgress progress;
  const QString host = QStringLiteral("localhost:%1").arg(peer.port());
  const QByteArray local = NoiseBytes(30000, 7);
  if (c.run == Run::Publish) WriteFile(photos() + kPhoto, local);

  QElapsedTimer clock;
  clock.start();
  bool done = false;
  QString message;
  int moved = 0;
  int deleted = 0;
  if (c.run == Run::Retrieve) {
    const RetrieveResult result = RunRetrieve(
        *session,
        RetrieveRequest{host, kUser, photos(), m_root.path() + "/program/" + kAlbumFileName,
                        &Templates(), false},
        progress);
    done = result.Completed && result.Failed.isEmpty();
    moved = result.FilesReceived;
    message = (QStringList{result.Error} + result.Failed).join('\n');
    if (c.outcome == Outcome::Refuses) {
      EXPECT_TRUE(result.Completed) << message.toStdString();
      EXPECT_GE(result.Refused.size(), 5) << result.Refused.join('\n').toStdString();
      for (const QString& name : result.Refused)
        EXPECT_FALSE(IsSafeFileName(name)) << name.toStdString();
    }
  } else {
    const PublishResult result =
        RunPublish(*session, PublishRequest{host, kUser, photos(), {}, true, {}, false}, progress);
    done = result.Completed && result.Failed.isEmpty() && result.NotDeleted.isEmpty();
    moved = result.FilesSent;
    deleted = result.FilesDeleted;
    message = (QStringList{result.Error} + result.Failed + result.NotDeleted).join('\n');
  }
  const qint64 elapsed = clock.elapsed();
  // One time-out ends every run: the first step that fails ends it.
  const qint64 limit = qMax(kConnectSeconds, kStallSeconds) * 1000 + kMarginMs;
  std::cout << "[ timing   ] " << c.name << ": " << elapsed << " ms (limit " << limit
            << " ms): " << message.toStdString() << std::endl;
  EXPECT_LE(elapsed, limit);

  if (c.outcome == Outcome::Fails || c.outcome == Outcome::KeepsFile) {
    EXPECT_FALSE(done) << "reported done against a peer that failed it";
    // A delete that fails leaves the photo sent all the same.
    EXPECT_EQ(moved, c.outcome == Outcome::KeepsFile ? 1 : 0);
    const QStringList words = QString::fromLatin1(c.words).split('|');
    EXPECT_TRUE(
        std::any_of(words.begin(), words.end(),
                    [&](const QString& w) { return message.contains(w, Qt::CaseInsensitive); }))
        << "message: " << message.toStdString();
  } else {
    EXPECT_TRUE(done) << message.toStdString();
    EXPECT_EQ(moved, 1) << message.toStdString();
  }
  if (c.outcome == Outcome::KeepsFile) {
    EXPECT_EQ(deleted, 0);
    EXPECT_FALSE(log().contains("deleted old.jpg"));
  }

  // Nothing outside the program folder; in it, only My Photos and the album file.
  EXPECT_EQ(Entries(m_root.path()), QStringList({"peer.log", "program", "tmp"}));
  EXPECT_EQ(Entries(m_root.filePath("tmp")), QStringList());
  for (const QString& name : Entries(m_root.path() + "/program"))
    EXPECT_TRUE(name == "myphotos" || name == kAlbumFileName) << name.toStdString();
  // In My Photos: the photo only when it arrived whole (or was ours), and no temporaries.
  for (const QString& name : Entries(photos())) {
    if (name.startsWith('.')) {
      EXPECT_TRUE(name.endsWith(".lock")) << name.toStdString();
      continue;
    }
    EXPECT_EQ(name, QString::fromLatin1(kPhoto));
    const QByteArray bytes = ReadAll(photos() + name);
    if (c.run == Run::Publish) {
      EXPECT_EQ(bytes, local);
    } else {
      EXPECT_TRUE(moved == 1 && bytes == PeerPhoto()) << "a cut photo stands in My Photos";
    }
  }

  // A file the upload server did not take whole is never renamed into place or announced.
  const QString requests = log();
  if (c.run == Run::Publish && c.outcome == Outcome::Fails) {
    EXPECT_FALSE(requests.contains("/savephoto.asp")) << requests.toStdString();
    EXPECT_FALSE(requests.contains("renamed ")) << requests.toStdString();
  }
  // A photo that stands under its name on the server is announced.
  if (c.run == Run::Publish && c.outcome != Outcome::Fails) {
    EXPECT_TRUE(requests.contains("/savephoto.asp")) << requests.toStdString();
  }
  // No command reaches the server with a CR inside, which some servers take for its end.
  EXPECT_FALSE(requests.contains(QLatin1Char('\r'))) << requests.toStdString();
}

// CTest names each case by this.
void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }

INSTANTIATE_TEST_SUITE_P(HostilePeers, HostileFtpPeer, ::testing::ValuesIn(Cases()));

}  // namespace
