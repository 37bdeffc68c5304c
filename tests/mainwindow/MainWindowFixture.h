#pragma once

#include <gtest/gtest.h>

#include <memory>

#include <QApplication>
#include <QTemporaryDir>

#include "mainwindow/CMainDialog.h"
#include "support/ScriptedPrompter.h"
#include "system/SemaphoreRegistry.h"

// A main window over a private program folder and Windows folder, with scripted prompts
// and the help pages of the build.
class MainWindowFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  std::unique_ptr<CMainDialog> makeWindow();
  QString settingsFile() const { return windowsFolder.filePath("quendal.ini"); }
  QString stored(const char* key) const;

  static int argc;
  static char* argv[];
  QApplication application{argc, argv};
  QTemporaryDir programFolder;
  QTemporaryDir windowsFolder;
  ScriptedPrompter prompter;
  SemaphoreRegistry semaphores;
  SemaphoreRegistry::Handle stop;
  QString helpFolder = QString::fromUtf8(BRIVANE_PROGRAM_DIR) + "help/";
  // The desktop programs the window starts; null: the system's.
  ProgramRunner* programRunner = nullptr;
};
