#pragma once

// What the Help commands' tests share: an application, a feature host over a private
// settings file, and a desktop opener on PATH that records what it was asked to open.

#include <memory>

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "library/PhotoStore.h"
#include "library/Settings.h"
#include "support/ScriptedPrompter.h"
#include "support/TestFeatureHost.h"
#include "system/Profile.h"

class HelpFixture : public ::testing::Test {
 protected:
  HelpFixture() : m_path(qgetenv("PATH")) {
    for (const char* name : {"BRIVANE_SERVICE_HOST", "BRIVANE_SERVICE_WEB_HOST"}) qunsetenv(name);
    QDir(home.path()).mkpath("bin");
    QFile opener(home.filePath("bin/xdg-open"));
    opener.open(QIODevice::WriteOnly);
    // One line per call: the number of arguments, then the first as it arrived.
    opener.write("#!/bin/sh\nprintf '%s|%s\\n' \"$#\" \"$1\" >> '" +
                 home.filePath("opened.txt").toUtf8() + "'\n");
    opener.close();
    opener.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("PATH", home.filePath("bin").toUtf8() + ":" + m_path);
    qputenv("BRIVANE_PROGRAM_FOLDER", BRIVANE_PROGRAM_DIR);
    store = std::make_unique<PhotoStore>(home.filePath("myphotos") + "/");
    settings = std::make_unique<Settings>(home.filePath("quendal.ini"));
    host = std::make_unique<TestFeatureHost>(*store, *settings, prompter,
                                             home.filePath("registry.ini"));
  }
  ~HelpFixture() override {
    // The openers started run unwaited: let them end and their process objects go.
    QTest::qWait(300);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    qputenv("PATH", m_path);
    qunsetenv("BRIVANE_PROGRAM_FOLDER");
  }

  void Set(const char* key, const QString& value) {
    ASSERT_TRUE(WriteProfileString(settings->file(), Settings::kSection, key, value));
  }
  // The opener's calls, once count of them have arrived (it runs without being waited for).
  QStringList Opened(int count) {
    QStringList lines;
    (void)QTest::qWaitFor(
        [&] {
          QFile file(home.filePath("opened.txt"));
          lines = file.open(QIODevice::ReadOnly)
                      ? QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts)
                      : QStringList();
          return lines.size() >= count;
        },
        10000);
    return lines;
  }
  QStringList PromptTexts() const {
    QStringList texts;
    for (const ScriptedPrompter::Prompt& prompt : prompter.prompts()) texts << prompt.text;
    return texts;
  }

  static inline char programName[] = "help_tests";
  static inline int argc = 1;
  static inline char* argv[] = {programName, nullptr};
  QApplication application{argc, argv};
  QTemporaryDir home;
  ScriptedPrompter prompter;
  std::unique_ptr<PhotoStore> store;
  std::unique_ptr<Settings> settings;
  std::unique_ptr<TestFeatureHost> host;

 private:
  QByteArray m_path;
};
