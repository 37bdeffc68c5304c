#include <gtest/gtest.h>

#include <QDateTime>
#include <QFileInfo>
#include <QProcess>

#include "fil/ltfil.h"
#include "library/PhotoNames.h"
#include "library/PhotoStoreRepair.h"
#include "StoreTestSupport.h"
#include "support/RequireTool.h"

namespace {
class PhotoStoreTest : public ::testing::Test, public StoreFixture {};

QSize FileSize(const QString& path) {
  FileInfo info;
  EXPECT_EQ(GetImageFileInfo(path, info), SUCCESS) << path.toStdString();
  return QSize(info.Width, info.Height);
}

QString ExifTool(const QStringList& arguments) {
  QProcess exiftool;
  exiftool.start("exiftool", arguments);
  exiftool.waitForFinished(30000);
  return QString::fromUtf8(exiftool.readAllStandardOutput()).trimmed();
}
}  // namespace

TEST_F(PhotoStoreTest, StoresBothFilesUnderTheStemAndListsTheName) {
  ImageBitmap working = TestPicture(1600, 1200);
  ASSERT_EQ(store.StorePhoto(working, "Fish & Chips", "Lunch"), SUCCESS);
  EXPECT_EQ(QSize(working.Width, working.Height), QSize(100, 75));  // it holds the thumbnail
  ASSERT_EQ(Store("Tall", {}, 1200, 1600), SUCCESS);
  ASSERT_EQ(Store("Sliver", {}, 20000, 100), SUCCESS);

  EXPECT_EQ(FolderContents(Folder()).keys(),
            QStringList({"Fish && Chips.jpg", "Fish && Chips_tn.jpg", "Sliver.jpg", "Sliver_tn.jpg",
                         "Tall.jpg", "Tall_tn.jpg"}));
  EXPECT_EQ(FileSize(Folder() + "Fish && Chips.jpg"), QSize(1600, 1200));
  EXPECT_EQ(FileSize(Folder() + "Fish && Chips_tn.jpg"), QSize(100, 75));
  EXPECT_EQ(FileSize(Folder() + "Tall_tn.jpg"), QSize(75, 100));
  EXPECT_EQ(FileSize(Folder() + "Sliver_tn.jpg"), QSize(100, 1));

  QStringList names;
  for (const PhotoEntry& entry : store.List()) names << entry.Name;
  names.sort();
  EXPECT_EQ(names, QStringList({"Fish & Chips", "Sliver", "Tall"}));
  EXPECT_EQ(store.ReadDescription("Fish && Chips"), "Lunch");
}

TEST_F(PhotoStoreTest, A255CharacterDescriptionIsKeptInFullInBothFiles) {
  const QString description = (QString::fromUtf8("Été à la plage, ") + QString(240, 'x')).left(255);
  ASSERT_EQ(Store("Beach", description + "cut off"), SUCCESS);
  const bool exiftool = RequireTool("exiftool", "libimage-exiftool-perl");
  for (const QString file : {"Beach.jpg", "Beach_tn.jpg"}) {
    EXPECT_EQ(ReadPhotoDescription(Folder() + file), description);
    if (!exiftool) continue;
    // Other photo programs see it too.
    EXPECT_EQ(ExifTool({"-s3", "-XMP-dc:Description", Folder() + file}), description);
    EXPECT_EQ(ExifTool({"-s3", "-charset", "exif=utf8", "-EXIF:ImageDescription", Folder() + file}),
              description);
  }
}

TEST_F(PhotoStoreTest, OnlyPairsCountAndTheListIsNewestFirst) {
  const QList<std::pair<QString, qint64>> photos = {{"Old", 1000000000}, {"New", 1200000000}, {"Middle", 1100000000}};
  for (const auto& [name, time] : photos) {
    ASSERT_EQ(Store(name), SUCCESS);
    QFile thumbnail(store.ThumbnailPath(name));
    ASSERT_TRUE(thumbnail.open(QIODevice::ReadWrite));
    thumbnail.setFileTime(QDateTime::fromSecsSinceEpoch(time), QFileDevice::FileModificationTime);
  }
  for (const QString stray : {"Lonely_tn.jpg", "NoThumb.jpg", "Upper.JPG", "Upper_TN.JPG", "notes.txt"})
    QFile(Folder() + stray).open(QIODevice::WriteOnly);
  QStringList names;
  for (const PhotoEntry& entry : store.List()) names << entry.Name;
  EXPECT_EQ(names, QStringList({"New", "Middle", "Old"}));
  EXPECT_EQ(store.List()[2].FileTime, 1000000000);
}

TEST_F(PhotoStoreTest, NameCheckRefusesTakenNamesAndFilesAlreadyThere) {
  ASSERT_EQ(Store("Tommy"), SUCCESS);
  EXPECT_EQ(store.CheckName("Tom").Verdict, NameVerdict::Taken);
  EXPECT_EQ(store.CheckName("tommy").Verdict, NameVerdict::Taken);  // a case-only rename
  EXPECT_TRUE(store.CheckName("Sunset").accepted());
  // Storing overwrites without asking: a lone picture of that stem, or another photo's
  // thumbnail, makes the name taken too.
  QFile lone(Folder() + "Cat.jpg");
  ASSERT_TRUE(lone.open(QIODevice::WriteOnly));
  EXPECT_EQ(store.CheckName("Cat").Verdict, NameVerdict::Taken);
  EXPECT_EQ(store.CheckName("Tommy_tn").Verdict, NameVerdict::Taken);
}

TEST_F(PhotoStoreTest, NothingIsWrittenOutsideTheFolder) {
  ImageBitmap working = TestPicture(50, 50);
  for (const QString name : {"../escape", "..", "line\nbreak"})
    EXPECT_EQ(store.StorePhoto(working, name, QString()), ERROR_INV_PARAMETER);
  ASSERT_EQ(Store("Inside"), SUCCESS);
  EXPECT_EQ(store.Rename("Inside", "../Outside"), ERROR_INV_PARAMETER);
  EXPECT_EQ(store.Delete("../Inside"), ERROR_INV_PARAMETER);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
  ImageBitmap empty;
  EXPECT_EQ(store.StorePhoto(empty, "Empty", QString()), ERROR_NO_BITMAP);
  EXPECT_EQ(FolderContents(Folder()).size(), 2);
}

// A failure at any step of storing leaves the old pair exactly as it was, or nothing
// when there was none, and never a temporary file.
class AtomicStoreTest : public ::testing::TestWithParam<PhotoStore::Step>, public StoreFixture {};

TEST_P(AtomicStoreTest, AFailureLeavesTheOldPairOrNothing) {
  ASSERT_EQ(Store("Beach", "old", 320, 240, 0), SUCCESS);
  const auto before = FolderContents(Folder());
  const PhotoStore::Step failing = GetParam();
  store.SetFaultHook([failing](PhotoStore::Step step) { return step == failing; });
  EXPECT_NE(Store("Beach", "new", 640, 480, 99), SUCCESS);
  EXPECT_NE(Store("Fresh", "new", 640, 480, 99), SUCCESS);
  EXPECT_EQ(FolderContents(Folder()), before);

  store.SetFaultHook({});
  ASSERT_EQ(Store("Beach", "new", 640, 480, 99), SUCCESS);
  EXPECT_EQ(ReadPhotoDescription(store.ThumbnailPath("Beach")), "new");
  EXPECT_EQ(FolderContents(Folder()).size(), 2);
}

INSTANTIATE_TEST_SUITE_P(EveryStep, AtomicStoreTest,
                         ::testing::Values(PhotoStore::Step::WritePhoto, PhotoStore::Step::WriteThumbnail,
                                           PhotoStore::Step::PlacePhoto, PhotoStore::Step::PlaceThumbnail));

TEST_F(PhotoStoreTest, RenameMovesBothFilesKeepingTheirTimes) {
  ASSERT_EQ(Store("Beach", "sand"), SUCCESS);
  for (const QString& path : {store.PhotoPath("Beach"), store.ThumbnailPath("Beach")}) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.setFileTime(QDateTime::fromSecsSinceEpoch(1100000000), QFileDevice::FileModificationTime);
  }
  const auto before = FolderContents(Folder());
  ASSERT_EQ(store.Rename("Beach", "Rock & Roll"), SUCCESS);
  const auto after = FolderContents(Folder());
  EXPECT_EQ(after.keys(), QStringList({"Rock && Roll.jpg", "Rock && Roll_tn.jpg"}));
  EXPECT_EQ(after["Rock && Roll.jpg"], before["Beach.jpg"]);
  EXPECT_EQ(store.List()[0].FileTime, 1100000000);  // it sorts where it was

  // Onto its own stem it is a no-op, never copy-then-delete.
  ASSERT_EQ(store.Rename("Rock && Roll", "Rock & Roll"), SUCCESS);
  EXPECT_EQ(FolderContents(Folder()), after);
}

class AtomicRenameTest : public ::testing::TestWithParam<PhotoStore::Step>, public StoreFixture {};

TEST_P(AtomicRenameTest, AFailureNeverLosesThePhoto) {
  ASSERT_EQ(Store("Beach", "sand"), SUCCESS);
  ASSERT_EQ(Store("Sunset", "sky", 200, 100, 7), SUCCESS);  // a target that gets replaced
  const auto before = FolderContents(Folder());
  const PhotoStore::Step failing = GetParam();
  store.SetFaultHook([failing](PhotoStore::Step step) { return step == failing; });
  EXPECT_NE(store.Rename("Beach", "Sunset"), SUCCESS);
  auto expected = before;
  if (failing == PhotoStore::Step::RemoveOld) {
    // Copied but not removed: both photos are whole.
    expected["Sunset.jpg"] = before["Beach.jpg"];
    expected["Sunset_tn.jpg"] = before["Beach_tn.jpg"];
  }
  EXPECT_EQ(FolderContents(Folder()), expected);
}

INSTANTIATE_TEST_SUITE_P(EveryStep, AtomicRenameTest,
                         ::testing::Values(PhotoStore::Step::WritePhoto, PhotoStore::Step::WriteThumbnail,
                                           PhotoStore::Step::PlacePhoto, PhotoStore::Step::PlaceThumbnail,
                                           PhotoStore::Step::RemoveOld));

TEST_F(PhotoStoreTest, EditCommentStoresAgainUnderTheSameStem) {
  // Photos carry the description they are stored with, whatever the imaging library's
  // process-wide comment table holds, and storing leaves that table alone.
  SetSaveComment(COMMENT_DESCRIPTION, "left in the table");
  const int plain = Store("Plain");
  const int odd = Store("Odd", "before");
  EXPECT_EQ(GetSaveComment(COMMENT_DESCRIPTION), "left in the table");
  SetSaveComment(COMMENT_DESCRIPTION, QString());
  ASSERT_EQ(plain, SUCCESS);
  ASSERT_EQ(odd, SUCCESS);
  EXPECT_EQ(store.ReadDescription("Plain"), "");
  EXPECT_EQ(store.ReadDescription("Odd"), "before");

  // A stem from elsewhere with a single "&" keeps its files too.
  ASSERT_TRUE(QFile::rename(store.PhotoPath("Odd"), store.PhotoPath("A&B")));
  ASSERT_TRUE(QFile::rename(store.ThumbnailPath("Odd"), store.ThumbnailPath("A&B")));
  ImageBitmap working;
  ASSERT_EQ(store.LoadPhoto(working, "A&B"), SUCCESS);
  ASSERT_EQ(store.EditComment(working, "A&B", "after"), SUCCESS);
  EXPECT_EQ(store.ReadDescription("A&B"), "after");
  EXPECT_EQ(ReadPhotoDescription(store.ThumbnailPath("A&B")), "after");
  EXPECT_EQ(FolderContents(Folder()).size(), 4);
}

TEST_F(PhotoStoreTest, PlacingWithoutReplacingNeverTouchesFilesInTheWay) {
  ASSERT_EQ(Store("Beach", "mine"), SUCCESS);
  // A lone thumbnail (a photo deleted half way) is in the way as much as a whole photo.
  QFile::copy(store.ThumbnailPath("Beach"), store.ThumbnailPath("Lone"));
  const auto before = FolderContents(Folder());
  for (const QString name : {"Beach", "Lone"}) {
    ImageBitmap working = TestPicture(320, 240, 7);
    EXPECT_EQ(store.StorePhoto(working, name, "theirs", PhotoStore::Placing::NoReplace),
              ERROR_FILE_EXISTS);
    // The caller keeps its picture to try another name.
    EXPECT_EQ(working.Width, 320);
  }
  EXPECT_EQ(FolderContents(Folder()), before);
  ImageBitmap working = TestPicture(320, 240, 7);
  EXPECT_EQ(store.StorePhoto(working, "Fresh", "", PhotoStore::Placing::NoReplace), SUCCESS);
  EXPECT_TRUE(store.Contains("Fresh"));
}

TEST_F(PhotoStoreTest, ANameWhoseFilesAreAnotherPhotosIsNeverStored) {
  ASSERT_EQ(Store("X", "x"), SUCCESS);
  ASSERT_EQ(Store("Y_tn", "y"), SUCCESS);
  const auto before = FolderContents(Folder());
  // "X_tn.jpg" is X's thumbnail; "Y_tn.jpg" is the picture of the photo "Y_tn".
  for (const QString name : {"X_tn", "Y"}) {
    for (const auto placing : {PhotoStore::Placing::Replace, PhotoStore::Placing::NoReplace}) {
      ImageBitmap working = TestPicture(320, 240, 3);
      EXPECT_EQ(store.StorePhoto(working, name, "", placing), ERROR_FILE_EXISTS) << name.toStdString();
    }
  }
  EXPECT_EQ(store.Rename("X", "Y"), ERROR_FILE_EXISTS);
  EXPECT_EQ(FolderContents(Folder()), before);
  const NameCheck check = store.CheckName("X_tn");
  EXPECT_EQ(check.Verdict, NameVerdict::Taken);
  EXPECT_EQ(check.Message, "The name 'X_tn' cannot be used: its files would be those of the photo "
                           "'X'.  Please type a different name.");
}

TEST_F(PhotoStoreTest, RepairFinishesWhatAKillLeftHalfDone) {
  ASSERT_EQ(Store("Kept", "whole"), SUCCESS);
  ASSERT_EQ(Store("Half", "photo only", 640, 480), SUCCESS);
  ASSERT_EQ(Store("Gone"), SUCCESS);
  ASSERT_EQ(Store("Big_tn", "", 640, 480), SUCCESS);
  ASSERT_TRUE(QFile::remove(store.ThumbnailPath("Half")));    // killed between the renames
  ASSERT_TRUE(QFile::remove(store.PhotoPath("Gone")));        // killed inside a delete
  ASSERT_TRUE(QFile::remove(store.ThumbnailPath("Big_tn")));  // a photo named "Big_tn", half stored
  QFile junk(Folder() + "notes.jpg");                          // not a picture: left alone
  ASSERT_TRUE(junk.open(QIODevice::WriteOnly) && junk.write("text") == 4);
  junk.close();
  const QDateTime old = QDateTime::currentDateTime().addSecs(-120);
  for (const QString name : {".brivane-stale.tmp", "..brivane-stale.tmp.1234abcd.tmp", ".brivane-new.tmp"}) {
    QFile temporary(Folder() + name);
    ASSERT_TRUE(temporary.open(QIODevice::WriteOnly));
    if (name != ".brivane-new.tmp") temporary.setFileTime(old, QFileDevice::FileModificationTime);
  }

  StoreRepair repair = RepairPhotoStore(store);
  repair.ThumbnailsMade.sort();
  EXPECT_EQ(repair.ThumbnailsMade, QStringList({"Big_tn", "Half"}));
  EXPECT_EQ(repair.ThumbnailsRemoved, QStringList({"Gone"}));
  EXPECT_EQ(repair.TemporariesRemoved, 2);
  EXPECT_EQ(repair.Unmended, QStringList({"notes"}));
  QStringList names = store.Names();
  names.sort();
  EXPECT_EQ(names, QStringList({"Big_tn", "Half", "Kept"}));
  EXPECT_EQ(FileSize(store.ThumbnailPath("Half")), QSize(100, 75));
  EXPECT_EQ(ReadPhotoDescription(store.ThumbnailPath("Half")), "photo only");
  EXPECT_TRUE(QFile::exists(Folder() + ".brivane-new.tmp"));

  // A second start finds nothing to do, and no temporary goes while a store is in progress.
  ImageBitmap working = TestPicture(64, 48);
  PreparedPhoto inProgress;
  ASSERT_EQ(store.Prepare(working, "", inProgress), SUCCESS);
  EXPECT_EQ(SweepStoreTemporaries(Folder(), 0), 0);
  EXPECT_FALSE(RepairPhotoStore(store).mendedAnything());
  inProgress = PreparedPhoto();
  EXPECT_EQ(SweepStoreTemporaries(Folder(), 0), 1);  // the young one, once nobody writes
}
