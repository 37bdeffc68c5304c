#include <gtest/gtest.h>

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
