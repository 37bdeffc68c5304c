#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include "ControlsTestApp.h"
#include "controls/OpenInBrowser.h"
#include "support/ScriptedPrompter.h"

namespace {

// A desktop opener of the test's own on PATH that records its argument and exits with
// the given code.
class FakeOpener {
 public:
  explicit FakeOpener(int exitCode) {
    QFile script(m_folder.filePath("xdg-open"));
    script.open(QIODevice::WriteOnly);
    script.write(QStringLiteral("#!/bin/sh\nprintf '%s' \"$1\" > '%1'\nexit %2\n")
                     .arg(m_folder.filePath("opened"))
                     .arg(exitCode)
                     .toUtf8());
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    m_path = qgetenv("PATH");
    qputenv("PATH", m_folder.path().toUtf8() + ":" + m_path);
  }
  ~FakeOpener() { qputenv("PATH", m_path); }
  QString opened() const {
    QFile file(m_folder.filePath("opened"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
  }

 private:
  QTemporaryDir m_folder;
  QByteArray m_path;
};

// Handles events until the condition holds or ten seconds have passed.
template <class Condition>
bool WaitFor(Condition condition) {
  const QDeadlineTimer deadline(10000);
  while (!condition() && !deadline.hasExpired()) QTest::qWait(20);
  return condition();
}

TEST(OpenInBrowser, ResultCodesHaveTheirTexts) {
  EXPECT_EQ(BrowserOpenProblem(31), QStringLiteral("There is no application associated with the given filename extension."));
  EXPECT_EQ(BrowserOpenProblem(27), BrowserOpenProblem(2));
  EXPECT_EQ(BrowserOpenProblem(5), QStringLiteral("The operating system denied access to the specified file. "));
  EXPECT_TRUE(BrowserOpenProblem(33).isEmpty());
  EXPECT_TRUE(BrowserOpenProblem(4).isEmpty());
  EXPECT_TRUE(BrowserOpenProblem(ShellResultOfOpener(true, 0)).isEmpty());
  EXPECT_EQ(BrowserOpenProblem(ShellResultOfOpener(true, 3)), BrowserOpenProblem(31));
  EXPECT_EQ(BrowserOpenProblem(ShellResultOfOpener(true, 4)),
            QStringLiteral("It seems that your default Web browser is not properly set up."));
  EXPECT_EQ(BrowserOpenProblem(ShellResultOfOpener(false, 0)), BrowserOpenProblem(31));
}

TEST(OpenInBrowser, OpensWithoutWaitingAndReportsAFailedOpener) {
  if (!ControlsTestApp()) GTEST_SKIP() << "a non-widget application exists";
  QWidget window;
  const QString url = QStringLiteral("http://localhost:8080/viewphoto.asp?UserId=1&Photo=Fish%20%26%20Chips");
  {
    FakeOpener opener(0);
    ScriptedPrompter prompter;
    OpenInBrowser(url, &window, prompter);
    EXPECT_TRUE(WaitFor([&] { return opener.opened() == url; }));
    QTest::qWait(200);
    EXPECT_TRUE(prompter.prompts().isEmpty());
  }
  FakeOpener broken(3);
  ScriptedPrompter prompter;
  OpenInBrowser(url, &window, prompter);
  ASSERT_TRUE(WaitFor([&] { return prompter.prompts().size() == 1; }));
  EXPECT_EQ(prompter.prompts()[0].kind, ScriptedPrompter::Kind::Error);
  EXPECT_EQ(prompter.prompts()[0].text, BrowserOpenProblem(31));
}

}  // namespace
