#pragma once

#include <functional>
#include <memory>

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QTemporaryDir>

#include "albums/AlbumFile.h"
#include "inet/InternetSession.h"
#include "labels/LabelTemplates.h"
#include "library/PhotoStore.h"
#include "library/StoreTestSupport.h"
#include "support/FileBytes.h"
#include "support/ReferenceService.h"
#include "websync/SyncProgress.h"

// The shipped templates; album pages point into this one list.
inline const LabelTemplateList& Templates() {
  static const LabelTemplateList templates = LoadLabelTemplates(BRIVANE_SOURCE_DIR "content/labels.dat");
  return templates;
}

// Readable failure messages for texts.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

// One service with its upload server for the whole program: each test signs up its own
// user. Its certificate also serves the tests' own misbehaving service.
inline ReferenceService& Service() {
  static ReferenceService service([] {
    ReferenceService::Options options;
    options.ftp = true;
    return options;
  }());
  return service;
}

// A progress that remembers the problems and lets a test act on the bytes of a file.
class TestProgress : public SyncProgress {
 public:
  std::function<void(qint64 fileBytes, qint64 fileSize)> onBytes;
  QStringList problems;

  void action(const QString&) override {}
  void totals(int, qint64) override {}
  void filesDone(int) override {}
  void bytesDone(qint64, qint64 fileBytes, qint64 fileSize) override {
    if (onBytes) onBytes(fileBytes, fileSize);
  }
  void fileEnded() override {}
  void problem(const QString& title, const QString& text) override { problems << title + ": " + text; }
};

// A program folder: labels.dat, My Photos and the album files.
class ProgramFolder {
 public:
  ProgramFolder() {
    QDir().mkpath(photos());
    QFile::copy(BRIVANE_SOURCE_DIR "content/labels.dat", path() + "labels.dat");
  }
  QString path() const { return dir_.path() + "/"; }
  QString photos() const { return path() + "myphotos/"; }
  QString albumsFile() const { return path() + kAlbumFileName; }
  QString deletedAlbumsFile() const { return path() + kDeletedAlbumsFileName; }

  // Stores a photo pair through the store, as the program does.
  void store(const QString& name, const QString& description = {}, int width = 96, int height = 64) {
    PhotoStore store(photos());
    ImageBitmap working = TestPicture(width, height, int(qHash(name) % 200));
    ASSERT_EQ(store.StorePhoto(working, name, description), SUCCESS) << name.toStdString();
  }
  void remove(const QString& stem) { ASSERT_EQ(PhotoStore(photos()).Delete(stem), SUCCESS); }

  // The photo files, without the store's hidden lock files.
  QMap<QString, QByteArray> files() const { return Files(photos()); }
  // Hidden files other than the store's locks: temporaries left behind.
  QStringList leftovers() const {
    QStringList hidden;
    for (const QString& name : QDir(photos()).entryList(QDir::Files | QDir::Hidden))
      if (name.startsWith('.') && !name.endsWith(".lock")) hidden << name;
    return hidden;
  }

  static QMap<QString, QByteArray> Files(const QString& folder) {
    QMap<QString, QByteArray> files;
    for (const QString& name : QDir(folder).entryList(QDir::Files)) files[name] = ReadAll(folder + name);
    return files;
  }

 private:
  QTemporaryDir dir_;
};

// Writes bytes as a file of My Photos with the given time.
inline void WriteFile(const QString& path, const QByteArray& bytes, const QDateTime& when = {}) {
  WriteRaw(path, bytes);
  if (!when.isValid()) return;
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadWrite));
  ASSERT_TRUE(file.setFileTime(when, QFileDevice::FileModificationTime));
}

// Bytes that no compression shrinks, so a transfer takes many blocks.
inline QByteArray NoiseBytes(qsizetype size, quint32 seed) {
  QByteArray bytes(size, Qt::Uninitialized);
  for (qsizetype i = 0; i < size; ++i) {
    seed = seed * 1664525u + 1013904223u;
    bytes[i] = char(seed >> 24);
  }
  return bytes;
}

inline std::unique_ptr<InternetSession> TrustingSession(const QString& caFile) {
  InternetOptions options;
  options.caFile = caFile;
  options.stallTimeoutSeconds = 10;
  return InternetSession::Open(options);
}

// A test on a fresh account of the shared reference service, with a session that trusts it.
class ServiceAccountTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Service().isRunning()) << Service().error().toStdString();
    const QString answer = QString::fromUtf8(Service().get(
        "/register.asp?FirstName=Ann&LastName=Lee&Address1=1%20Road&City=Town&State=S&Zip=123&Phone=555"
        "&Email=ann@example.com&Password=pw"));
    ASSERT_TRUE(answer.startsWith("UserId=")) << answer.toStdString();
    userId = answer.mid(7).trimmed();
    session = TrustingSession(Service().caFile());
    ASSERT_TRUE(session);
  }

  QString host() const { return QStringLiteral("localhost:%1").arg(Service().httpsPort()); }
  QString remoteFolder() const { return Service().dataFolder() + "/upload/photos/" + userId + "/"; }
  // Every file of the user's folder on the service, hidden ones included.
  QMap<QString, QByteArray> remoteFiles() const {
    QMap<QString, QByteArray> files;
    for (const QString& name : QDir(remoteFolder()).entryList(QDir::Files | QDir::Hidden))
      files[name] = ReadAll(remoteFolder() + name);
    return files;
  }

  QString userId;
  std::unique_ptr<InternetSession> session;
};
