// The About box and the visits to the maker's and the service's web sites, through a
// desktop opener that records its calls.

#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "help/CAboutDialog.h"
#include "help/HelpCommands.h"
#include "help/HelpFixture.h"
#include "help/HelpSites.h"

namespace {

class HelpCommandsTest : public HelpFixture {
 protected:
  static QString Text(QWidget* dialog, int id) {
    if (auto* label = dialog->findChild<QLabel*>(QString::number(id))) return label->text();
    if (auto* button = dialog->findChild<QPushButton*>(QString::number(id))) return button->text();
    return QStringLiteral("<none>");
  }
  static void Click(QWidget* dialog, int id) {
    dialog->findChild<QPushButton*>(QString::number(id))->click();
  }
};

TEST_F(HelpCommandsTest, AboutBoxShowsTheUserIdOnlyWhenThereIsOne) {
  CAboutDialog withId(QStringLiteral("123456789"), QStringLiteral("pelloria.example"));
  EXPECT_EQ(withId.objectName(), "100");
  EXPECT_EQ(withId.windowTitle(), "About Brivane");
  EXPECT_TRUE(withId.isModal());
  EXPECT_EQ(withId.findChild<QLabel*>("version")->text(), "Brivane 1.1");
  EXPECT_EQ(Text(&withId, 1218), "Your User Id is: 123456789\n");
  EXPECT_EQ(Text(&withId, 1), "OK");
  EXPECT_EQ(Text(&withId, 1207), "&Visit Veldano on the Web");
  EXPECT_EQ(Text(&withId, 1222), "Visit &pelloria.example on the Web");
  EXPECT_FALSE(withId.findChild<QLabel*>("icon")->pixmap().isNull());

  CAboutDialog withoutId(QString(), QStringLiteral("localhost"));
  EXPECT_EQ(Text(&withoutId, 1218), "");
  EXPECT_EQ(Text(&withoutId, 1222), "Visit &localhost on the Web");
}

TEST_F(HelpCommandsTest, AboutBoxButtonsOpenBothSites) {
  Set("MakerSite", "veldano.example");
  Set("ServiceWebSiteHost", "pelloria.example:8080");
  ASSERT_TRUE(settings->setUserId("123456789"));
  QString information;
  QString serviceButton;
  QTimer::singleShot(0, [&] {
    QWidget* box = QApplication::activeModalWidget();
    ASSERT_NE(box, nullptr);
    information = Text(box, 1218);
    serviceButton = Text(box, 1222);
    Click(box, 1207);
    Click(box, 1222);
    Click(box, 1);
  });
  HelpCommands(*host).about();
  EXPECT_EQ(information, "Your User Id is: 123456789\n");
  EXPECT_EQ(serviceButton, "Visit &pelloria.example on the Web");
  // The maker's site gets its scheme and ending slash; the service's site has no path.
  QStringList opened = Opened(2);
  opened.sort();
  EXPECT_EQ(opened, QStringList({"1|http://pelloria.example:8080", "1|http://veldano.example/"}));
  EXPECT_TRUE(prompter.prompts().isEmpty()) << PromptTexts().join('\n').toStdString();
}

TEST_F(HelpCommandsTest, MenuVisitsOpenTheLocalServiceUnlessSetOtherwise) {
  HelpCommands(*host).visitMaker();
  EXPECT_EQ(Opened(1), QStringList({"1|http://localhost:8080/brivane/"}));
  HelpCommands(*host).visitService();
  EXPECT_EQ(Opened(2).value(1), "1|http://localhost:8080");

  Set("MakerSite", "https://www.veldano.example/brivane");
  Set("ServiceWebSiteHost", "[::1]:8080");
  HelpCommands(*host).visitMaker();
  EXPECT_EQ(Opened(3).value(2), "1|https://www.veldano.example/brivane/");
  HelpCommands(*host).visitService();
  EXPECT_EQ(Opened(4).value(3), "1|http://[::1]:8080");

  const HelpSites sites = HelpSites::Read(settings->file());
  EXPECT_EQ(sites.serviceSiteName(), "[::1]");
  EXPECT_EQ(VisitServiceMenuText(QStringLiteral("pelloria.example")),
            "Visit pelloria.example on the web");
}

}  // namespace
