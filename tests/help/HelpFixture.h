#pragma once

// What the Help commands' tests share: the dialogs' fixture (an application, a feature
// host over a private settings file), and a desktop opener on PATH that records what it
// was asked to open.

#include <memory>

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "editing/EditingDialogFixture.h"
#include "system/Profile.h"

class HelpFixture : public EditingDialogFixture {
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

 private:
  QByteArray m_path;
};
