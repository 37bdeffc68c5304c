#pragma once

#include <memory>

#include <QStringList>
#include <QWidget>

#include "controls/BackgroundRunner.h"
#include "controls/FeatureHost.h"
#include "inet/InternetSession.h"
#include "krn/ImageBitmap.h"
#include "library/PhotoListModel.h"
#include "system/ProgramRunner.h"
#include "system/RegistryStore.h"

// Records the desktop programs asked for; every program but "absent" is present.
class RecordingProgramRunner : public ProgramRunner {
 public:
  bool isAvailable(const QString& program) const override { return program != "absent"; }
  bool start(const QString& program, const QStringList& arguments) override {
    calls << (QStringList{program} + arguments).join(' ');
    return true;
  }
  QStringList calls;
};

// The main window's part for features under test: the store, settings and prompter the
// test gives, a working bitmap, a registry file of its own, a runner, and the names the
// full-size view was asked to show.
class TestFeatureHost : public FeatureHost {
 public:
  TestFeatureHost(PhotoStore& store, Settings& settings, Prompter& prompter, const QString& registryFile);
  ~TestFeatureHost() override;

  QWidget* hostWindow() override { return &window; }
  ImageBitmap& workingPicture() override { return working; }
  Settings& settings() override { return m_settings; }
  PhotoStore& photoStore() override { return m_store; }
  PhotoListModel& photoList() override { return photos; }
  Prompter& prompter() override { return m_prompter; }
  ProgramRunner& programRunner() override { return programs; }
  RegistryStore& registry() override { return m_registry; }
  BackgroundRunner& backgroundRunner() override { return runner; }
  void viewFullSize(const ImageBitmap&, const QString& name) override { viewed.append(name); }
  void showTab(MainTab) override {}
  QAction* commandAction(int) const override { return nullptr; }
  void popupMenu(int, const QPoint&) override {}
  void runCommand(int command) override { commands.append(command); }
  QString& lastPickedPhoto() override { return lastPicked; }
  // Opened as the main window opens it; null while internetUnavailable.
  InternetSession* internetSession() override;

  QWidget window;
  ImageBitmap working;
  PhotoListModel photos;
  RecordingProgramRunner programs;
  BackgroundRunner runner{&window};
  QStringList viewed;
  QList<int> commands;
  QString lastPicked;
  bool internetUnavailable = false;
  std::unique_ptr<InternetSession> internet;

 private:
  PhotoStore& m_store;
  Settings& m_settings;
  Prompter& m_prompter;
  RegistryStore m_registry;
};
