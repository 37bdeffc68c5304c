#include <QAction>
#include <QFileInfo>

#include "MainWindowFixture.h"
#include "system/Profile.h"

TEST_F(MainWindowFixture, AFirstStartMakesMyPhotosAndUsesTheDefaults) {
  auto window = makeWindow();
  EXPECT_EQ(window->windowTitle(), "Brivane");
  EXPECT_TRUE(QFileInfo(programFolder.filePath("myphotos")).isDir());
  EXPECT_EQ(window->settings().fileList(), 32775);
  EXPECT_EQ(window->settings().lastFolderRead(), "");
  EXPECT_EQ(window->settings().emailAddress(), "");
  EXPECT_EQ(window->settings().userId(), "");
  // Nothing is written while the window lives.
  EXPECT_FALSE(QFileInfo::exists(settingsFile()));

  for (int command : {32827, 32771, 32818, 32819}) {
    QAction* action = window->commandAction(command);
    ASSERT_TRUE(action) << command;
    EXPECT_EQ(action->data().toInt(), command);
  }
  EXPECT_FALSE(window->onCommand(1));
}

TEST_F(MainWindowFixture, ItsEndWritesTheViewSettingsAndStopsTheWatcher) {
  WriteProfileString(settingsFile(), "Settings", "FileList", "59410");
  WriteProfileString(settingsFile(), "Settings", "EmailServer", "smtp.example.com");
  auto window = makeWindow();
  EXPECT_EQ(window->settings().fileList(), 59410);
  EXPECT_EQ(window->settings().emailServer(), "smtp.example.com");
  window->settings().setFileList(32776);
  window->settings().setLastFolderRead("/home/anna/Downloads/");
  EXPECT_EQ(stored("FileList"), "59410");
  window.reset();

  EXPECT_EQ(stored("FileList"), "32776");
  EXPECT_EQ(stored("LastFolderRead"), "/home/anna/Downloads/");
  EXPECT_EQ(stored("EmailServer"), "smtp.example.com");
}

TEST_F(MainWindowFixture, ExitClosesTheWindow) {
  auto window = makeWindow();
  window->show();
  int closed = 0;
  QObject::connect(window.get(), &CMainDialog::closed, [&closed] { ++closed; });
  window->commandAction(32771)->trigger();
  EXPECT_EQ(closed, 1);
  EXPECT_FALSE(window->isVisible());
}
