#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include "fil/ltfil.h"
#include "support/RequireTool.h"
#include "library/PhotoBatchImporter.h"
#include "library/PhotoImporter.h"
#include "StoreTestSupport.h"

namespace {
class PhotoImporterTest : public ::testing::Test, public StoreFixture {
 protected:
  // A picture file outside the store, written by Qt.
  QString Source(const QString& fileName, int width = 120, int seed = 0) {
    const QString path = dir.path() + "/in/" + fileName;
    QDir().mkpath(QFileInfo(path).absolutePath());
    EXPECT_TRUE(TestPicture(width, 90, seed).Pixels.save(path, fileName.endsWith("JPG") ? "JPEG" : "BMP"));
    return path;
  }
  int StoredWidth(const QString& stem) {
    FileInfo info;
    EXPECT_EQ(GetImageFileInfo(store.PhotoPath(stem), info), SUCCESS);
    return info.Width;
  }

  ImageBitmap working;
  PhotoImporter importer{store, working};
};

// The description of every JPEG in the folder as another photo program sees it: EXIF and
// XMP must agree.
QMap<QString, QString> ExiftoolDescriptions(const QString& folder) {
  QProcess exiftool;
  exiftool.start("exiftool", {"-j", "-charset", "exif=utf8", "-EXIF:ImageDescription",
                              "-XMP-dc:Description", "-ext", "jpg", folder});
  exiftool.waitForFinished(30000);
  QMap<QString, QString> descriptions;
  for (const QJsonValue& file : QJsonDocument::fromJson(exiftool.readAllStandardOutput()).array()) {
    const QJsonObject tags = file.toObject();
    const QString exif = tags["ImageDescription"].toString();
    const QString xmp = tags["Description"].toString();
    descriptions[QFileInfo(tags["SourceFile"].toString()).fileName()] =
        exif == xmp ? exif : QString("EXIF '%1' but XMP '%2'").arg(exif, xmp);
  }
  return descriptions;
}
}  // namespace

TEST_F(PhotoImporterTest, ImportsKnownTypesUnderTheFileNameAndSkipsOthers) {
  importer.SetDescription("from the drop");
  EXPECT_EQ(importer.Import(Source("Fish & Chips.bmp")).Name, "Fish & Chips");
  EXPECT_EQ(store.ReadDescription("Fish && Chips"), "from the drop");
  EXPECT_TRUE(importer.Import(Source("holiday.2019.JPG")).imported());
  EXPECT_TRUE(store.Contains("holiday.2019"));
  EXPECT_FALSE(working.hasPixels());

  // ".jpeg" is not in the file-type table, whatever the file holds.
  EXPECT_EQ(importer.Import(Source("photo.jpeg")).State, ImportResult::Status::NotAnImageType);
  EXPECT_EQ(importer.Import(Source(QString(61, 'x') + ".bmp")).State, ImportResult::Status::BadName);
  EXPECT_EQ(importer.Import(Source("tab\tname.bmp")).State, ImportResult::Status::BadName);
  QFile broken(dir.path() + "/in/broken.jpg");
  ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
  broken.write("not a picture at all");
  broken.close();
  EXPECT_EQ(importer.Import(broken.fileName()).State, ImportResult::Status::DecodeFailed);
  EXPECT_EQ(FolderContents(Folder()).size(), 4);
}

TEST_F(PhotoImporterTest, AStoredNameIsSkippedReplacedOrNumberedButNeverSilentlyReplaced) {
  ASSERT_TRUE(importer.Import(Source("beach.bmp", 120, 1)).imported());
  const auto stored = FolderContents(Folder());
  EXPECT_EQ(importer.Import(Source("beach.bmp", 130, 2)).State, ImportResult::Status::NameTaken);
  EXPECT_EQ(FolderContents(Folder()), stored);

  importer.SetWhenTaken(PhotoImporter::WhenTaken::Rename);
  EXPECT_EQ(importer.Import(Source("beach.bmp", 130, 2)).Name, "beach (2)");
  EXPECT_EQ(importer.Import(Source("beach.bmp", 140, 3)).Name, "beach (3)");
  EXPECT_EQ(FolderContents(Folder())["beach.jpg"], stored["beach.jpg"]);
  // A numbered name still fits in 60 characters.
  ASSERT_TRUE(importer.Import(Source(QString(60, 'L') + ".bmp")).imported());
  EXPECT_EQ(importer.Import(Source(QString(60, 'L') + ".bmp")).Name, QString(56, 'L') + " (2)");

  importer.SetWhenTaken(PhotoImporter::WhenTaken::Replace);
  ASSERT_TRUE(importer.Import(Source("beach.bmp", 240, 4)).imported());
  EXPECT_EQ(StoredWidth("beach"), 240);
}

// Several files at once come out as importing them one after another would: names in
// the order of the files, duplicates within the batch handled by the policy.
TEST_F(PhotoImporterTest, ABatchOnManyThreadsDecidesNamesInFileOrder) {
  QStringList files;
  for (int i = 0; i < 6; ++i) files << Source(QString("%1/beach.bmp").arg(i), 100 + 10 * i, i);
  files.insert(2, dir.path() + "/in/missing.jpg");
  files.insert(4, dir.path() + "/in/notes.txt");

  const auto run = [&](PhotoImporter::WhenTaken policy) {
    PhotoBatchImporter batch(store);
    batch.SetWhenTaken(policy);
    batch.SetThreads(4);
    batch.SetDescription("batch");
    QList<qsizetype> order;
    QStringList names;
    batch.Import(files, [&](qsizetype index, const QString&, const ImportResult& result) {
      order << index;
      names << (result.imported() ? result.Name : QString("-"));
    });
    EXPECT_EQ(order, QList<qsizetype>({0, 1, 2, 3, 4, 5, 6, 7}));
    return names;
  };

  EXPECT_EQ(run(PhotoImporter::WhenTaken::Rename),
            QStringList({"beach", "beach (2)", "-", "beach (3)", "-", "beach (4)", "beach (5)", "beach (6)"}));
  EXPECT_EQ(StoredWidth("beach (6)"), 150);
  EXPECT_EQ(store.ReadDescription("beach (6)"), "batch");
  EXPECT_EQ(run(PhotoImporter::WhenTaken::Skip), QStringList(8, "-"));
  // Each file in turn replaces the pair; the last one stays, never a mix of two.
  EXPECT_EQ(run(PhotoImporter::WhenTaken::Replace),
            QStringList({"beach", "beach", "-", "beach", "-", "beach", "beach", "beach"}));
  EXPECT_EQ(StoredWidth("beach"), 150);
  FileInfo thumbnail;
  ASSERT_EQ(GetImageFileInfo(store.ThumbnailPath("beach"), thumbnail), SUCCESS);
  EXPECT_EQ(QSize(thumbnail.Width, thumbnail.Height), ThumbnailSize(150, 90));
  EXPECT_EQ(FolderContents(Folder()).size(), 12);
}

// A drop imports on a worker while the user stores and re-describes other photos: each
// photo keeps the description it was stored with, never another's and never none.
TEST_F(PhotoImporterTest, AnImportOnAWorkerAndStoresMeanwhileKeepTheirOwnDescriptions) {
  if (!RequireTool("exiftool", "libimage-exiftool-perl")) return;
  constexpr int kDropped = 8;
  QStringList files;
  for (int i = 0; i < kDropped; ++i) files << Source(QString("drop %1.bmp").arg(i), 120, i);
  QMap<QString, QString> expected;
  const auto expect = [&](const QString& name, const QString& description) {
    expected[name + ".jpg"] = expected[name + "_tn.jpg"] = description;
  };

  std::atomic<bool> importing{true};
  std::thread worker([&] {
    // Two files at a time, each pair with its own description, as a drop hands them over.
    for (int first = 0; first < kDropped; first += 2) {
      PhotoBatchImporter batch(store);
      batch.SetDescription(QString("Dropped with file %1").arg(first));
      batch.Import(files.mid(first, 2));
    }
    importing = false;
  });
  int rounds = 0;
  for (; (importing && rounds < 5000) || rounds < 6; ++rounds) {
    const QString name = QString("Kept %1").arg(rounds % 3);
    const QString description = QString("Typed in round %1").arg(rounds);
    if (rounds < 3) {
      EXPECT_EQ(Store(name, description, 120, 90, rounds), SUCCESS);
    } else {
      ImageBitmap edited;
      EXPECT_EQ(store.LoadPhoto(edited, name), SUCCESS);
      EXPECT_EQ(store.EditComment(edited, name, description), SUCCESS);
    }
    expect(name, description);
  }
  worker.join();
  for (int i = 0; i < kDropped; ++i)
    expect(QString("drop %1").arg(i), QString("Dropped with file %1").arg(i / 2 * 2));

  const QMap<QString, QString> described = ExiftoolDescriptions(Folder());
  EXPECT_EQ(described.keys(), expected.keys());
  for (auto it = expected.cbegin(); it != expected.cend(); ++it)
    EXPECT_EQ(described.value(it.key()).toStdString(), it.value().toStdString())
        << it.key().toStdString() << " after " << rounds << " rounds";
}
