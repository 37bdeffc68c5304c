#include <gtest/gtest.h>

#include <random>
#include <sys/stat.h>

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
    TakeProfileNotices();
  }
  void TearDown() override {
    qunsetenv("BRIVANE_PROGRAM_FOLDER");
    qunsetenv("BRIVANE_WINDOWS_FOLDER");
  }

  // Closes the main window as soon as it runs.
  static void closeTheWindowOnceItRuns() {
    QTimer::singleShot(0, [] {
      for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* window = qobject_cast<CMainDialog*>(widget); window && window->isVisible())
          window->commandAction(32771)->trigger();
    });
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

TEST_F(MainApp, SettingsFilesItCannotUseAreReportedOnceAndLeftAsTheyAre) {
  const QString settingsFile = windowsFolder.path() + "/quendal.ini";
  std::mt19937 random(3);
  QByteArray binary(4096, Qt::Uninitialized);
  for (char& byte : binary) byte = char(random() & 0xFF);
  {
    QFile file(settingsFile);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(binary);
  }
  // A FIFO would hold the start for ever if it were opened the ordinary way; ctest's time
  // limit ends the test then.
  const QString registryFile = windowsFolder.path() + "/registry.ini";
  ASSERT_EQ(::mkfifo(QFile::encodeName(registryFile).constData(), 0600), 0);

  auto prompter = std::make_unique<ScriptedPrompter>();
  ScriptedPrompter* prompts = prompter.get();
  CMainApp app(std::move(prompter));
  app.initInstance();
  closeTheWindowOnceItRuns();
  EXPECT_EQ(app.run(), 0);

  // One error box per file, though the window read the settings file key by key and wrote
  // the view settings to it at exit.
  ASSERT_EQ(prompts->prompts().size(), 2);
  QStringList reported;
  for (const ScriptedPrompter::Prompt& prompt : prompts->prompts()) {
    EXPECT_EQ(prompt.kind, ScriptedPrompter::Kind::Error);
    reported << prompt.text;
  }
  EXPECT_TRUE(reported.filter(registryFile).size() == 1 &&
              reported.filter("not a regular file").size() == 1)
      << reported.join('\n').toStdString();
  EXPECT_EQ(reported.filter(settingsFile).size(), 1);

  QFile file(settingsFile);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), binary);
  struct stat info {};
  ASSERT_EQ(::stat(QFile::encodeName(registryFile).constData(), &info), 0);
  EXPECT_TRUE(S_ISFIFO(info.st_mode));
}
