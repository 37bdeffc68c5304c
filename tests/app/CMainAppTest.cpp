#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>

#include "app/CMainApp.h"
#include "library/Settings.h"
#include "mainwindow/CMainDialog.h"
#include "support/ScriptedPrompter.h"
#include "system/Profile.h"

namespace {
int argc = 1;
char programName[] = "app_tests";
char* argv[] = {programName, nullptr};

class MainApp : public ::testing::Test {
 protected:
  void SetUp() override {
    qputenv("BRIVANE_PROGRAM_FOLDER", QFile::encodeName(programFolder.path()));
    qputenv("BRIVANE_WINDOWS_FOLDER", QFile::encodeName(windowsFolder.path()));
  }
  void TearDown() override {
    qunsetenv("BRIVANE_PROGRAM_FOLDER");
    qunsetenv("BRIVANE_WINDOWS_FOLDER");
  }

  QApplication application{argc, argv};
  QTemporaryDir programFolder;
  QTemporaryDir windowsFolder;
};
}  // namespace

TEST_F(MainApp, StartUpPreparesWhatTheMainWindowIsGiven) {
  CMainApp app(std::make_unique<ScriptedPrompter>());
  app.initInstance();
  EXPECT_EQ(QApplication::applicationName(), "Brivane");
  // Qt appends an explicitly set display name to every window title; unset, it follows the
  // application name, and the titles stay the program's own.
  QApplication::setApplicationName("probe");
  EXPECT_EQ(QApplication::applicationDisplayName(), "probe");
  QApplication::setApplicationName("Brivane");
  EXPECT_EQ(app.helpFolder(), programFolder.path() + "/help/");

  ASSERT_TRUE(app.stopSemaphore());
  EXPECT_EQ(app.semaphores().open("ThumbStop"), app.stopSemaphore());
  EXPECT_EQ(app.stopSemaphore()->count(), 0);
  EXPECT_EQ(app.stopSemaphore()->maximumCount(), 1);

  // No picture in this program folder: a white page of the same size stands in.
  const ImageBitmap& page = app.blankPage();
  ASSERT_TRUE(page.hasPixels());
  EXPECT_EQ(page.Width, 96);
  EXPECT_EQ(page.Height, 127);
  EXPECT_EQ(page.Pixels.pixel(0, 0), qRgb(255, 255, 255));
  EXPECT_EQ(page.Pixels.pixel(95, 126), qRgb(255, 255, 255));
}

TEST_F(MainApp, RunsTheMainWindowUntilExitAndWritesTheViewSettings) {
  CMainApp app(std::make_unique<ScriptedPrompter>());
  app.initInstance();
  bool sawWindow = false;
  QTimer::singleShot(0, [&sawWindow] {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (auto* window = qobject_cast<CMainDialog*>(widget); window && window->isVisible()) {
        sawWindow = true;
        window->settings().setLastFolderRead("/media/card/DCIM/");
        window->commandAction(32771)->trigger();
      }
    }
  });
  EXPECT_EQ(app.run(), 0);
  EXPECT_TRUE(sawWindow);
  EXPECT_TRUE(QFileInfo(programFolder.path() + "/myphotos").isDir());
  const QString ini = windowsFolder.path() + "/quendal.ini";
  EXPECT_EQ(ReadProfileString(ini, "Settings", "FileList"), "32775");
  EXPECT_EQ(ReadProfileString(ini, "Settings", "LastFolderRead"), "/media/card/DCIM/");
  // The main window's end signalled the thumbnail watcher's stop.
  // Released once; the watcher may already have taken the signal.
  EXPECT_LE(app.stopSemaphore()->count(), 1);
}
