#include <QAction>
#include <QDir>
#include <QRegularExpression>
#include <QTextBrowser>

#include "MainWindowFixture.h"
#include "help/CHelpWindow.h"

namespace {
CHelpWindow* HelpWindowOf(const CMainDialog& window) {
  return window.findChild<CHelpWindow*>("helpWindow");
}
}  // namespace

TEST_F(MainWindowFixture, HelpMenuOpensTopicsOneAndFour) {
  auto window = makeWindow();
  window->show();
  window->commandAction(32818)->trigger();
  CHelpWindow* help = HelpWindowOf(*window);
  ASSERT_TRUE(help);
  EXPECT_TRUE(help->isVisible());
  EXPECT_EQ(help->browser()->source().fileName(), "index.html");
  EXPECT_EQ(help->windowTitle(), "Contents - Brivane Help");
  EXPECT_TRUE(help->browser()->toPlainText().contains("How to use Brivane"));

  // The same window turns to the other topic.
  window->commandAction(32819)->trigger();
  EXPECT_EQ(HelpWindowOf(*window), help);
  EXPECT_EQ(help->browser()->source().fileName(), "how-to-use.html");
  EXPECT_EQ(help->windowTitle(), "How to use Brivane - Brivane Help");
  EXPECT_TRUE(prompter.prompts().isEmpty());
}

TEST_F(MainWindowFixture, MissingHelpPagesAreReported) {
  helpFolder = programFolder.path() + "/help/";
  auto window = makeWindow();
  window->commandAction(32819)->trigger();
  ASSERT_EQ(prompter.prompts().size(), 1);
  EXPECT_EQ(prompter.prompts()[0].kind, ScriptedPrompter::Kind::Error);
}

TEST(HelpPages, EveryLinkLeadsToAShippedPage) {
  const QDir pages(QString::fromUtf8(BRIVANE_PROGRAM_DIR) + "help/");
  const QStringList files = pages.entryList({"*.html"}, QDir::Files);
  ASSERT_GE(files.size(), 2);
  const QRegularExpression link(R"((?:href|src)="([^"#]*)(#[^"]*)?")");
  for (const QString& name : files) {
    QFile file(pages.filePath(name));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(html.contains("<title>")) << name.toStdString();
    for (const auto& match : link.globalMatch(html)) {
      const QString target = match.captured(1);
      if (target.isEmpty()) continue;
      EXPECT_TRUE(pages.exists(target)) << name.toStdString() << " -> " << target.toStdString();
    }
  }
}
