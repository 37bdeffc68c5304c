#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "system/Folders.h"

TEST(Folders, ContentFoldersHangOffTheProgramFolder) {
  qputenv("BRIVANE_PROGRAM_FOLDER", "/opt/brivane");
  EXPECT_EQ(GetProgramFolder(), "/opt/brivane/");
  EXPECT_EQ(GetMyPhotosFolder(), "/opt/brivane/myphotos/");
  EXPECT_EQ(GetGreetingCardFolder(), "/opt/brivane/greetingcard/");
  qunsetenv("BRIVANE_PROGRAM_FOLDER");
  // Without the override it is the test program's own folder, wherever it was started.
  EXPECT_TRUE(GetProgramFolder().endsWith("/tests/"));
}

TEST(Folders, WindowsFolderFollowsXdgConfigHome) {
  qunsetenv("BRIVANE_WINDOWS_FOLDER");
  qputenv("XDG_CONFIG_HOME", "/tmp/cfg");
  EXPECT_EQ(GetWindowsFolder(), "/tmp/cfg/brivane/");
  qputenv("BRIVANE_WINDOWS_FOLDER", "/tmp/win");
  EXPECT_EQ(GetWindowsFolder(), "/tmp/win/");
}

TEST(Folders, AnInstalledProgramKeepsTheUsersFilesInTheirDataFolder) {
  QTemporaryDir program;
  qputenv("BRIVANE_PROGRAM_FOLDER", QFile::encodeName(program.path()));
  qputenv("XDG_DATA_HOME", "/tmp/data-home");
  // Portable: one folder for everything.
  EXPECT_EQ(GetUserDataFolder(), program.path() + "/");
  EXPECT_EQ(GetMyPhotosFolder(), program.path() + "/myphotos/");
  QFile marker(program.path() + "/" + kInstalledMarker);
  ASSERT_TRUE(marker.open(QIODevice::WriteOnly));
  marker.close();
  EXPECT_EQ(GetUserDataFolder(), "/tmp/data-home/brivane/");
  EXPECT_EQ(GetMyPhotosFolder(), "/tmp/data-home/brivane/myphotos/");
  // Made private: other users of the computer do not see the photos.
  QTemporaryDir home;
  qputenv("XDG_DATA_HOME", QFile::encodeName(home.path()));
  ASSERT_TRUE(MakeMyPhotosFolder());
  EXPECT_TRUE(QFileInfo(home.path() + "/brivane/myphotos").isDir());
  EXPECT_EQ(QFile::permissions(home.path() + "/brivane") & (QFile::ReadOther | QFile::ReadGroup), 0);
  // The content stays with the program.
  EXPECT_EQ(GetFramesFolder(), program.path() + "/frames/");
  qunsetenv("XDG_DATA_HOME");
  qunsetenv("BRIVANE_PROGRAM_FOLDER");
}
