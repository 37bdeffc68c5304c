#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "inet/FolderListing.h"
#include "inet/FtpConnection.h"
#include "inet/InternetSession.h"
#include "support/ScriptPeer.h"

namespace {

QByteArray Pattern(int size) {
  QByteArray bytes(size, '\0');
  for (int i = 0; i < size; ++i) bytes[i] = char((qint64(i) * 7919) >> 3);
  return bytes;
}

class FtpConnectionTest : public ::testing::Test {
 protected:
  bool startPeer(const QStringList& arguments = {}) {
    if (!m_root.isValid() || !QDir(m_root.path()).mkpath(QStringLiteral("photos"))) return false;
    const QString script = QStringLiteral(BRIVANE_SOURCE_DIR "tests/inet/ftp_peer.py");
    if (!m_peer.start(script, QStringList{QStringLiteral("--root"), m_root.path()} + arguments, "python3-pyftpdlib"))
      return false;
    InternetOptions options;
    options.stallTimeoutSeconds = 10;
    options.activeAcceptTimeoutMs = 2000;
    m_session = InternetSession::Open(options);
    return bool(m_session);
  }

  std::unique_ptr<FtpConnection> logIn(const QString& password = QStringLiteral("secret"), QString* error = nullptr) {
    return OpenUploadConnection(*m_session, m_peer.host(), QStringLiteral("alice"), password, error);
  }

  QTemporaryDir m_root;
  ScriptPeer m_peer;
  std::unique_ptr<InternetSession> m_session;
};

TEST_F(FtpConnectionTest, SendsListsReceivesAndDeletesInTheUsersFolder) {
  ASSERT_TRUE(startPeer());
  QString error;
  EXPECT_FALSE(logIn(QStringLiteral("wrong"), &error));
  EXPECT_FALSE(error.isEmpty());
  auto ftp = logIn();
  ASSERT_TRUE(ftp);
  ASSERT_TRUE(ftp->setCurrentDirectory(QStringLiteral("/photos"), &error)) << error.toStdString();
  EXPECT_FALSE(ftp->setCurrentDirectory(QStringLiteral("123456789")));
  ASSERT_TRUE(ftp->createDirectory(QStringLiteral("123456789"), &error)) << error.toStdString();
  ASSERT_TRUE(ftp->setCurrentDirectory(QStringLiteral("123456789")));
  EXPECT_EQ(ftp->currentDirectory(), QStringLiteral("/photos/123456789"));

  const QByteArray photo = Pattern(300000);
  QBuffer source;
  source.setData(photo);
  source.open(QIODevice::ReadOnly);
  qint64 lastProgress = 0;
  ASSERT_TRUE(ftp->upload(QStringLiteral("Fish && Chips.jpg"), source, [&](qint64 sent) { lastProgress = sent; },
                          &error))
      << error.toStdString();
  EXPECT_EQ(lastProgress, photo.size());
  QBuffer empty;
  empty.open(QIODevice::ReadOnly);
  ASSERT_TRUE(ftp->upload(QStringLiteral("empty.jpg"), empty));
  EXPECT_FALSE(ftp->passive());

  QFile stored(m_root.filePath(QStringLiteral("photos/123456789/Fish && Chips.jpg")));
  ASSERT_TRUE(stored.open(QIODevice::ReadOnly));
  EXPECT_EQ(stored.readAll(), photo);

  const auto listing = ftp->listCurrentDirectory(&error);
  ASSERT_TRUE(listing) << error.toStdString();
  ASSERT_EQ(listing->size(), 2);
  const FileEntry* entry = FindEntry(*listing, QStringLiteral("Fish && Chips.jpg"));
  ASSERT_TRUE(entry);
  EXPECT_EQ(entry->size, photo.size());
  EXPECT_LE(qAbs(entry->lastWrite.secsTo(QDateTime::currentDateTimeUtc())), 120);
  EXPECT_FALSE(FindEntry(*listing, QStringLiteral("fish && chips.jpg")));

  QBuffer received;
  received.open(QIODevice::WriteOnly);
  ASSERT_TRUE(ftp->download(QStringLiteral("Fish && Chips.jpg"), received, {}, &error)) << error.toStdString();
  EXPECT_EQ(received.data(), photo);

  EXPECT_TRUE(ftp->deleteFile(QStringLiteral("empty.jpg")));
  EXPECT_FALSE(ftp->deleteFile(QStringLiteral("empty.jpg")));
  EXPECT_EQ(ftp->listCurrentDirectory()->size(), 1);
  // Names that would leave the folder never reach the server.
  EXPECT_FALSE(ftp->upload(QStringLiteral("../escape.jpg"), source));
  EXPECT_FALSE(ftp->setCurrentDirectory(QStringLiteral("..")));
}

TEST_F(FtpConnectionTest, FallsBackToPassiveWhenTheServerCannotConnectBack) {
  ASSERT_TRUE(startPeer({QStringLiteral("--refuse-active"), QStringLiteral("--no-mlsd")}));
  auto ftp = logIn();
  ASSERT_TRUE(ftp);
  ASSERT_TRUE(ftp->setCurrentDirectory(QStringLiteral("/photos")));
  QBuffer source;
  source.setData(Pattern(10000));
  source.open(QIODevice::ReadOnly);
  QString error;
  ASSERT_TRUE(ftp->upload(QStringLiteral("a.jpg"), source, {}, &error)) << error.toStdString();
  EXPECT_TRUE(ftp->passive());
  EXPECT_EQ(QFile(m_root.filePath(QStringLiteral("photos/a.jpg"))).size(), 10000);
  // Without MLSD the listing comes from LIST.
  const auto listing = ftp->listCurrentDirectory(&error);
  ASSERT_TRUE(listing) << error.toStdString();
  ASSERT_EQ(listing->size(), 1);
  EXPECT_EQ(listing->front().name, QStringLiteral("a.jpg"));
  EXPECT_EQ(listing->front().size, 10000);
}

TEST_F(FtpConnectionTest, HostileListingNamesAreRefusedAndAStopEndsAnUpload) {
  ASSERT_TRUE(startPeer({QStringLiteral("--hostile")}));
  auto ftp = logIn();
  ASSERT_TRUE(ftp);
  QStringList refused;
  const auto listing = ftp->listCurrentDirectory(nullptr, &refused);
  ASSERT_TRUE(listing);
  ASSERT_EQ(listing->size(), 1);
  EXPECT_EQ(listing->front().name, QStringLiteral("good.jpg"));
  EXPECT_EQ(listing->front().lastWrite, QDateTime(QDate(2026, 12, 9), QTime(12, 0), Qt::UTC));
  EXPECT_EQ(refused.size(), 3);

  // A source that never ends: only the stop can end the transfer.
  QBuffer endless;
  endless.setData(Pattern(64 * 1024 * 1024));
  endless.open(QIODevice::ReadOnly);
  qint64 sent = 0;
  m_session->setStopCheck([&sent] { return sent > 1024 * 1024; });
  QString error;
  EXPECT_FALSE(ftp->upload(QStringLiteral("big.jpg"), endless, [&](qint64 bytes) { sent = bytes; }, &error));
  EXPECT_EQ(error, QStringLiteral("The transfer was stopped."));
  EXPECT_LT(sent, 8 * 1024 * 1024);
}

TEST(FolderListing, ReadsUnixAndDosListsAndLocalFolders) {
  const QDateTime now(QDate(2026, 3, 1), QTime(12, 0), Qt::UTC);
  QStringList refused;
  const QList<FileEntry> unix = ParseListListing(
      "-rw-r--r--   1 owner group   1234 Feb 27 09:15 Beach day.jpg\r\n"
      "-rw-r--r--   1 owner group     10 Dec 31 23:59 New year.jpg\r\n"
      "-rw-r--r--   1 owner group     20 Jul  4  2019 Old.jpg\r\n"
      "drwxr-xr-x   2 owner group   4096 Feb 27 09:15 folder\r\n"
      "-rw-r--r--   1 owner group     20 Jul  4  2019 ..\r\n"
      "total 12\r\n",
      now, &refused);
  ASSERT_EQ(unix.size(), 3);
  // Reverse order: the last listed comes first.
  EXPECT_EQ(unix[0].name, QStringLiteral("Old.jpg"));
  EXPECT_EQ(unix[0].lastWrite, QDateTime(QDate(2019, 7, 4), QTime(0, 0), Qt::UTC));
  EXPECT_EQ(unix[1].lastWrite, QDateTime(QDate(2025, 12, 31), QTime(23, 59), Qt::UTC));
  EXPECT_EQ(unix[2].name, QStringLiteral("Beach day.jpg"));
  EXPECT_EQ(unix[2].size, 1234);
  EXPECT_EQ(unix[2].lastWrite, QDateTime(QDate(2026, 2, 27), QTime(9, 15), Qt::UTC));
  EXPECT_EQ(refused, QStringList{QStringLiteral("..")});

  const QList<FileEntry> dos = ParseListListing(
      "12-09-26  03:41PM             5000 Fish && Chips.jpg\r\n"
      "12-09-26  03:41AM       <DIR>          sub\r\n",
      now);
  ASSERT_EQ(dos.size(), 1);
  EXPECT_EQ(dos[0].lastWrite, QDateTime(QDate(2026, 12, 9), QTime(15, 41), Qt::UTC));
  EXPECT_EQ(dos[0].name, QStringLiteral("Fish && Chips.jpg"));

  QTemporaryDir folder;
  ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("sub.jpg")));
  for (const char* name : {"a.jpg", "b_tn.jpg", ".hidden.jpg"}) {
    QFile file(folder.filePath(QString::fromLatin1(name)));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("xyz");
  }
  const QList<FileEntry> local = ListFolder(folder.path());
  ASSERT_EQ(local.size(), 2);
  EXPECT_EQ(local[0].name, QStringLiteral("b_tn.jpg"));
  EXPECT_EQ(local[1].size, 3);
}

}  // namespace
