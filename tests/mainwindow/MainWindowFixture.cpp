#include "MainWindowFixture.h"

#include "system/Profile.h"

namespace {
char programName[] = "mainwindow_tests";
}

int MainWindowFixture::argc = 1;
char* MainWindowFixture::argv[] = {programName, nullptr};

void MainWindowFixture::SetUp() {
  qputenv("BRIVANE_PROGRAM_FOLDER", QFile::encodeName(programFolder.path()));
  stop = semaphores.create("ThumbStop", 0, 1);
}

void MainWindowFixture::TearDown() { qunsetenv("BRIVANE_PROGRAM_FOLDER"); }

std::unique_ptr<CMainDialog> MainWindowFixture::makeWindow() {
  MainWindowServices services;
  services.prompter = &prompter;
  services.semaphores = &semaphores;
  services.settingsFile = settingsFile();
  services.helpFolder = helpFolder;
  services.programRunner = programRunner;
  return std::make_unique<CMainDialog>(services);
}

QString MainWindowFixture::stored(const char* key) const {
  return ReadProfileString(settingsFile(), "Settings", key, "<missing>");
}
