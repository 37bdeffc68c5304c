#include <gtest/gtest.h>

#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "support/TestPictures.h"
#include "getphoto/FolderListing.h"
#include "getphoto/FolderPath.h"
#include "getphoto/LookInPlaces.h"
#include "getphoto/PhotoFileTypes.h"

namespace {

class FileBrowserFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder.isValid());
    for (const char* name : {"alpha", "Zulu", "mike", ".hidden-folder"})
      ASSERT_TRUE(QDir(folder.path()).mkdir(name));
    for (const char* name : {"beach.jpg", "Anna.JPG", "zoo.png", "notes.txt", "README",
                             "scan.jpeg", ".secret.jpg", "picture.gif"})
      ASSERT_TRUE(WriteText(folder.filePath(name), "x"));
  }
  QTemporaryDir folder;
};

TEST_F(FileBrowserFolder, ListsFoldersThenMatchingFilesEachFromZToA) {
  const FolderListing common = ListFolder(folder.path(), SplitPatterns(PhotoFileTypes()[0].Pattern));
  EXPECT_TRUE(common.Listed);
  EXPECT_EQ(common.Folders, QStringList({"Zulu", "mike", "alpha"}));
  // Extensions match without regard to case; hidden files stay out.
  EXPECT_EQ(common.Files, QStringList({"zoo.png", "picture.gif", "beach.jpg", "Anna.JPG"}));

  // "*.*" is every file, with or without a dot.
  const FolderListing all = ListFolder(folder.path(), SplitPatterns("*.*"));
  EXPECT_EQ(all.Files, QStringList({"zoo.png", "scan.jpeg", "README", "picture.gif", "notes.txt",
                                    "beach.jpg", "Anna.JPG"}));
  // A file matching two patterns of a type is listed once.
  const FolderListing exif = ListFolder(folder.path(), SplitPatterns("*.jpg;*.JPG;*.jpeg"));
  EXPECT_EQ(exif.Files, QStringList({"scan.jpeg", "beach.jpg", "Anna.JPG"}));
}

TEST_F(FileBrowserFolder, AFolderThatCannotBeListedShowsNothing) {
  const FolderListing missing = ListFolder(folder.filePath("gone"), {"*"});
  EXPECT_FALSE(missing.Listed);
  EXPECT_TRUE(missing.Folders.isEmpty() && missing.Files.isEmpty());

  // Root may enter any folder; for everyone else a closed folder lists as nothing.
  if (geteuid() == 0) return;
  const QString locked = folder.filePath("mike");
  WriteText(locked + "/inside.jpg", "x");
  QFile::setPermissions(locked, QFile::WriteOwner);
  const FolderListing closed = ListFolder(locked, {"*"});
  QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  EXPECT_FALSE(closed.Listed);
  EXPECT_TRUE(closed.Files.isEmpty());
}

TEST(FileTypes, OfferTheTwentyEightTypesInTheirOrder) {
  const QList<PhotoFileType>& types = PhotoFileTypes();
  ASSERT_EQ(types.size(), 28);
  EXPECT_EQ(types[0].Description, "Common Formats (*gif;*.bmp;*.jpg;*.png)");
  EXPECT_EQ(types[0].Pattern, "*.gif;*.jpg;*.bmp;*.png");
  EXPECT_EQ(types[14].Pattern, "*.jpg;*.jpeg;*.jff;*.jtf");
  EXPECT_EQ(types[27].Description, "WordPerfect (*.wpg)");
  EXPECT_EQ(SplitPatterns(" *.tif ;*.jpg;;"), QStringList({"*.tif", "*.jpg"}));
}

TEST(FolderPaths, StepBelowARootAndBackUp) {
  using namespace FolderPath;
  EXPECT_EQ(StepsBelow("/", "/home/ann/Pictures"), QStringList({"home", "ann", "Pictures"}));
  EXPECT_EQ(StepsBelow("/media/usb", "/media/usb/DCIM"), QStringList({"DCIM"}));
  EXPECT_TRUE(StepsBelow("/home", "/home2/x").isEmpty());
  EXPECT_TRUE(StepsBelow("/home", "/home").isEmpty());
  EXPECT_FALSE(IsWithin("/home2", "/home"));
  EXPECT_EQ(Join("/", {"home", "ann", "Pictures"}, 2), "/home/ann");
  EXPECT_EQ(Parent("/home/ann"), "/home");
  EXPECT_EQ(Parent("/home"), "/");
  EXPECT_EQ(Parent("/"), "/");
  EXPECT_EQ(Child("/", "home"), "/home");
  EXPECT_EQ(Clean("/home//ann/../bob/"), "/home/bob");
}

TEST(LookIn, NamesVolumesAsTheirKindAsks) {
  EXPECT_EQ(PlaceForVolume({"/mnt/photos", "//nas/photos", "cifs", "", false}).Text,
            "photos on nas (/mnt/photos)");
  EXPECT_EQ(PlaceForVolume({"/net/home", "server:/export/home", "nfs4", "", false}).Text,
            "/export/home on server (/net/home)");
  const LookInPlace cd = PlaceForVolume({"/media/ann/HOLIDAY", "/dev/sr0", "iso9660", "HOLIDAY", false});
  EXPECT_EQ(cd.Type, LookInPlace::Kind::CdRom);
  EXPECT_EQ(cd.Text, "/media/ann/HOLIDAY");
  EXPECT_EQ(PlaceForVolume({"/media/ann/CARD", "/dev/sdb1", "vfat", "", false}).Text,
            "Removable Disk (/media/ann/CARD)");
  EXPECT_EQ(PlaceForVolume({"/data", "/dev/sda3", "ext4", "Data", false}).Text, "Data (/data)");
  EXPECT_EQ(PlaceForVolume({"/", "/dev/sda1", "ext4", "", false}).Text, "Local Disk (/)");
  // The system's own mounts hold no photos.
  EXPECT_TRUE(PlaceForVolume({"/proc", "proc", "proc", "", false}).Text.isEmpty());
  EXPECT_TRUE(PlaceForVolume({"/boot/efi", "/dev/sda1", "vfat", "", false}).Text.isEmpty());
  EXPECT_TRUE(PlaceForVolume({"/snap/core/1", "/dev/loop0", "squashfs", "", false}).Text.isEmpty());
}

TEST(LookIn, AFolderLiesOnTheDeepestVolumeHoldingIt) {
  const QList<LookInPlace> places = {
      {LookInPlace::Kind::Desktop, "Desktop", "/home/ann/Desktop"},
      {LookInPlace::Kind::Fixed, "Local Disk (/)", "/"},
      {LookInPlace::Kind::Fixed, "Home (/home)", "/home"},
  };
  EXPECT_EQ(VolumeIndexFor(places, "/home/ann/Desktop/trip"), 2);
  EXPECT_EQ(VolumeIndexFor(places, "/homework"), 1);
  EXPECT_EQ(VolumeIndexFor(places, "/"), 1);
  // The real list always holds the root file system.
  EXPECT_GE(VolumeIndexFor(LookInPlaces(), QDir::homePath()), 0);
}

}  // namespace
