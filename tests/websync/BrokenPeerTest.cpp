// Runs against a service of the tests' own whose upload server breaks transfers off or
// lists names that must never become paths here.

#include <gtest/gtest.h>

#include "support/ScriptPeer.h"
#include "websync/PublishRun.h"
#include "websync/RetrieveRun.h"
#include "websync/SyncTestSupport.h"

namespace {

constexpr char kUser[] = "100000001";

class BrokenPeerTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(Service().isRunning()) << Service().error().toStdString(); }

  bool startPeer(const QStringList& options = {}) {
    return peer.start(BRIVANE_SOURCE_DIR "tests/websync/sync_peer.py",
                      QStringList{"--root", root.path(), "--cert", Service().caFile(), "--key",
                                  Service().dataFolder() + "/tls/key.pem", "--log", root.filePath("requests.log")} +
                          options,
                      "python3-pyftpdlib");
  }
  QString userFolder() const { return root.path() + "/photos/" + kUser + "/"; }
  QString host() const { return QStringLiteral("localhost:%1").arg(peer.port()); }
  QString requests() const { return QString::fromUtf8(ReadAll(root.filePath("requests.log"))); }

  RetrieveResult retrieve(const ProgramFolder& folder) {
    auto session = TrustingSession(Service().caFile());
    return RunRetrieve(*session, RetrieveRequest{host(), kUser, folder.photos(), folder.albumsFile(), &Templates(), false},
                       progress);
  }

  QTemporaryDir root;
  ScriptPeer peer;
  TestProgress progress;
};

TEST_F(BrokenPeerTest, TransfersBrokenOffAreFailedAndLeaveNothingHalfMade) {
  ASSERT_TRUE(startPeer());
  WriteFile(userFolder() + "short.jpg", NoiseBytes(100000, 1));
  WriteFile(userFolder() + "broken.jpg", NoiseBytes(300000, 2));
  WriteFile(userFolder() + "fine.jpg", NoiseBytes(3000, 3));

  ProgramFolder here;
  const RetrieveResult received = retrieve(here);
  EXPECT_EQ(received.FilesReceived, 1);
  ASSERT_EQ(received.Failed.size(), 2) << received.Failed.join('\n').toStdString();
  QStringList failed = received.Failed;
  failed.sort();
  // Each says which file came only in part, not a note libcurl made on the way.
  EXPECT_TRUE(failed[0].startsWith("broken.jpg: ")) << failed[0].toStdString();
  EXPECT_TRUE(failed[1].startsWith("short.jpg: ")) << failed[1].toStdString();
  for (const QString& entry : failed)
    EXPECT_TRUE(entry.contains("partial", Qt::CaseInsensitive) || entry.contains("bytes arrived") ||
                entry.contains("bytes remaining"))
        << entry.toStdString();
  EXPECT_EQ(here.files().keys(), QStringList({"fine.jpg"}));
  EXPECT_EQ(here.leftovers(), QStringList());

  // The upload server drops the data connection after 64 KiB of this one.
  for (const QString name : {"short.jpg", "broken.jpg", "fine.jpg"}) QFile::remove(userFolder() + name);
  ProgramFolder sender;
  WriteFile(sender.photos() + "drop.jpg", NoiseBytes(300000, 4));
  auto session = TrustingSession(Service().caFile());
  const PublishResult sent = RunPublish(*session, PublishRequest{host(), kUser, sender.photos(), {}, true, {}, false},
                                        progress);
  EXPECT_EQ(sent.FilesSent, 0);
  ASSERT_EQ(sent.Failed.size(), 1);
  EXPECT_TRUE(sent.Failed[0].startsWith("drop.jpg: ")) << sent.Failed[0].toStdString();
  EXPECT_FALSE(QFile::exists(userFolder() + "drop.jpg"));
  EXPECT_FALSE(requests().contains("/savephoto.asp")) << requests().toStdString();
  // Nothing arrived, so the space used stays what it was.
  EXPECT_FALSE(requests().contains("WebSpace=300000")) << requests().toStdString();
}

TEST_F(BrokenPeerTest, HostileNamesInTheListingAreRefused) {
  ASSERT_TRUE(startPeer({"--hostile"}));
  WriteFile(userFolder() + "good.jpg", "photo");
  ProgramFolder here;
  const RetrieveResult received = retrieve(here);
  EXPECT_TRUE(received.Completed) << received.Error.toStdString();
  EXPECT_EQ(received.Refused.size(), 5) << received.Refused.join('\n').toStdString();
  for (const QString name : {"../x.jpg", "/etc/passwd", "a/b.jpg", ".."})
    EXPECT_TRUE(received.Refused.contains(name)) << name.toStdString();
  EXPECT_EQ(here.files().keys(), QStringList({"good.jpg"}));
  EXPECT_EQ(QDir(here.photos()).entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList());
  EXPECT_EQ(QDir(here.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
            QStringList({"labels.dat", "myphotos", "photos.dat"}));
}

}  // namespace
