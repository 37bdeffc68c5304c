// The account wizard as a new user and an existing user drive it, against the reference
// service over HTTPS with the certificate it made.

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include "editing/EditingDialogFixture.h"
#include "library/EmailAddress.h"
#include "library/ServiceSite.h"
#include "support/ReferenceService.h"
#include "web/AccountRequests.h"
#include "web/CRegisterDemoPage.h"
#include "web/CRegisterSendPage.h"
#include "web/CRegisterTypePage.h"
#include "web/CRegisterWherePage.h"
#include "web/CServiceAccountWizard.h"
#include "web/PhotoLink.h"
#include "web/PublishToWeb.h"

namespace {

class ServiceAccountWizardTest : public EditingDialogFixture {
 protected:
  std::unique_ptr<CServiceAccountWizard> Open(const ServiceSite& site) {
    auto wizard = std::make_unique<CServiceAccountWizard>(*host, site, &host->window);
    wizard->show();
    wizard->setActivePage(wizard->page(0));
    return wizard;
  }
  static ServiceSite SiteOf(const ReferenceService& service) {
    return ServiceSite{QStringLiteral("localhost:%1").arg(service.httpsPort()),
                       QStringLiteral("localhost:%1").arg(service.httpPort()), service.caFile()};
  }
  static void Type(QWidget* page, int id, const QString& text) {
    page->findChild<QLineEdit*>(QString::number(id))->setText(text);
  }
  static void FillDemo(CServiceAccountWizard& wizard) {
    QWidget* demo = wizard.demoPage();
    const std::pair<int, const char*> fields[] = {
        {1095, " Zoë "}, {1096, "O'Brien"}, {1097, "1 Main St & Co"}, {1101, "Cork"}, {1102, "Munster"},
        {1103, "T12 #4"}, {1109, "+353 1 234"}, {1112, "zoe@example.com"}};
    for (const auto& [id, text] : fields) Type(demo, id, QString::fromUtf8(text));
  }
  // Kept under the build folder for people to look at.
  static void Shot(QWidget& wizard, const char* name) {
    QDir().mkpath(QStringLiteral(BRIVANE_SCREENSHOT_DIR));
    wizard.grab().save(QStringLiteral(BRIVANE_SCREENSHOT_DIR "account-%1.png").arg(QLatin1String(name)));
  }
  static void Passwords(CServiceAccountWizard& wizard, const QString& first, const QString& second) {
    Type(wizard.wherePage(), 1144, first);
    Type(wizard.wherePage(), 1145, second);
  }
};

TEST(AccountRules, EmailAndAnswerEdgeCases) {
  EXPECT_FALSE(IsValidEmail(QStringLiteral("@example.com")));
  EXPECT_FALSE(IsValidEmail(QStringLiteral("zoe@example.comx")));
  EXPECT_FALSE(IsValidEmail(QStringLiteral("zoe.example.com")));
  EXPECT_TRUE(IsValidEmail(QStringLiteral("zoe@example.com")));
  EXPECT_TRUE(IsValidEmail(QStringLiteral("z@ab.de")));

  const QString url = QStringLiteral("https://h/register.asp?FirstName=a&Password=secret");
  const SignUpResult done = ReadSignUpAnswer(QStringLiteral("UserId=123456789\r\n"), {}, url);
  EXPECT_TRUE(done.ok);
  EXPECT_EQ(done.userId, QStringLiteral("123456789"));
  const SignUpResult refused = ReadSignUpAnswer(QStringLiteral("ErrorMsg=Please give your city.\r\n"), {}, url);
  EXPECT_FALSE(refused.ok);
  EXPECT_EQ(refused.status, QStringLiteral("An error occured when trying to communicate with https://h/register.asp.\n"
                                           "ErrorMsg=Please give your city.\r\n"));
  // An id that could not name a folder is no id.
  EXPECT_FALSE(ReadSignUpAnswer(QStringLiteral("UserId=../x\r\n"), {}, url).ok);
  EXPECT_EQ(ReadAccountCheckAnswer(QStringLiteral("SUCCESS"), {}).ok, true);
  EXPECT_EQ(ReadAccountCheckAnswer(QStringLiteral("SUCCESS\r\n"), {}).ok, false);
  EXPECT_EQ(ReadAccountCheckAnswer(QStringLiteral("Failed"), QStringLiteral("No route.")).message,
            QStringLiteral("Failed\nNo route."));

  EXPECT_EQ(PublishToWeb::MyPhotosAddress(QStringLiteral("localhost:8080"), QStringLiteral("localhost:8443"),
                                          QStringLiteral("42"), QStringLiteral("p w&")),
            QStringLiteral("http://localhost:8080/viewmyphotos.asp?UserId=42&Pwd=p%20w%26"));
  EXPECT_EQ(PublishToWeb::MyPhotosAddress(QStringLiteral("photos.example.org"), QStringLiteral("photos.example.org"),
                                          QStringLiteral("42"), QStringLiteral("pw")),
            QStringLiteral("https://photos.example.org/viewmyphotos.asp?UserId=42&Pwd=pw"));
  // A photo's stem holds its name's "&" doubled; the link names the photo.
  EXPECT_EQ(PhotoLinkAddress(QStringLiteral("localhost:8080"), QStringLiteral("123456789"),
                             QStringLiteral("Fish && Chips")),
            QStringLiteral("http://localhost:8080/viewphoto.asp?UserId=123456789&Photo=Fish%20%26%20Chips"));
}

TEST_F(ServiceAccountWizardTest, PagesRefuseMissingFieldsAndStay) {
  auto wizard = Open(ServiceSite{QStringLiteral("localhost:1"), QStringLiteral("localhost:2"), {}});
  EXPECT_EQ(wizard->wizardButtons(), CWizardSheet::Next);
  EXPECT_EQ(wizard->typePage()->findChild<QRadioButton*>("1151")->text(), QStringLiteral("I am a &new localhost user"));
  EXPECT_FALSE(wizard->typePage()->findChild<QLineEdit*>("1147")->isEnabled());

  // The existing-user choice needs both fields.
  wizard->typePage()->findChild<QRadioButton*>("1152")->click();
  EXPECT_TRUE(wizard->typePage()->findChild<QLineEdit*>("1147")->isEnabled());
  Type(wizard->typePage(), 1147, QStringLiteral("123"));
  wizard->pressNext();
  EXPECT_EQ(wizard->activePage(), wizard->typePage());
  ASSERT_EQ(prompter.prompts().size(), 1);
  EXPECT_EQ(prompter.prompts()[0].text, QStringLiteral("You did not fill in both your User Id and Password"));
  EXPECT_TRUE(wizard->typePage()->marks().isMarked(wizard->typePage()->findChild<QLineEdit*>("1144")));

  wizard->typePage()->findChild<QRadioButton*>("1151")->click();
  wizard->pressNext();
  ASSERT_EQ(wizard->activePage(), wizard->demoPage());
  FillDemo(*wizard);
  Type(wizard->demoPage(), 1112, QStringLiteral("@example.com"));
  wizard->pressNext();
  EXPECT_EQ(wizard->activePage(), wizard->demoPage());
  EXPECT_TRUE(wizard->demoPage()->findChild<QLabel*>("1019")->text().startsWith("Your email address needs to be"));
  Type(wizard->demoPage(), 1112, QStringLiteral("zoe@example.com"));
  Type(wizard->demoPage(), 1109, QStringLiteral("  "));
  Type(wizard->demoPage(), 1101, QString());
  wizard->pressNext();
  EXPECT_EQ(wizard->activePage(), wizard->demoPage());
  EXPECT_EQ(wizard->demoPage()->findChild<QLabel*>("1019")->text(),
            QStringLiteral("We need this information in case we need to contact you about your photo web site."));
  EXPECT_TRUE(wizard->demoPage()->marks().isMarked(wizard->demoPage()->findChild<QLineEdit*>("1101")));
  FillDemo(*wizard);
  wizard->pressNext();
  ASSERT_EQ(wizard->activePage(), wizard->wherePage());
  // Trimmed when taken.
  EXPECT_EQ(wizard->demoPage()->details().firstName, QStringLiteral("Zoë"));

  Passwords(*wizard, QStringLiteral("1234567890123456"), QString());
  EXPECT_EQ(wizard->wherePage()->findChild<QLineEdit*>("1144")->text().size(), 15);
  wizard->pressNext();
  EXPECT_EQ(wizard->activePage(), wizard->wherePage());
  EXPECT_EQ(wizard->wherePage()->findChild<QLabel*>("1019")->text(),
            QStringLiteral("We need this information in case you need to retreive your photos from the web."));
  Passwords(*wizard, QStringLiteral("one"), QStringLiteral("two"));
  wizard->pressNext();
  EXPECT_EQ(wizard->activePage(), wizard->wherePage());
  EXPECT_EQ(prompter.prompts().back().text,
            QStringLiteral("Your passwords are not the same.  Please retype both of them exactly the same to be sure."));
  Passwords(*wizard, QStringLiteral("two"), QStringLiteral("two"));
  wizard->pressNext();
  EXPECT_EQ(wizard->activePage(), wizard->sendPage());
  EXPECT_EQ(wizard->wizardButtons(), CWizardSheet::Back);
  wizard->pressBack();
  EXPECT_EQ(wizard->activePage(), wizard->wherePage());
}

TEST_F(ServiceAccountWizardTest, ANewUserSignsUpAndTheAccountChecksOut) {
  ReferenceService service;
  ASSERT_TRUE(service.isRunning()) << service.error().toStdString();
  auto wizard = Open(SiteOf(service));
  Shot(*wizard, "1-type");
  wizard->pressNext();
  FillDemo(*wizard);
  Shot(*wizard, "2-about-you");
  wizard->pressNext();
  Passwords(*wizard, QStringLiteral("pa'ss w&rd#1"), QStringLiteral("pa'ss w&rd#1"));
  Shot(*wizard, "3-password");
  wizard->pressNext();
  ASSERT_EQ(wizard->activePage(), wizard->sendPage());
  wizard->sendPage()->registerButton()->click();
  Shot(*wizard, "4-registered");
  EXPECT_EQ(wizard->sendPage()->status(),
            QStringLiteral("Registration complete.  Please click <Finish> to continue sending your photos."));
  EXPECT_EQ(wizard->wizardButtons(), CWizardSheet::Finish);
  EXPECT_FALSE(wizard->sendPage()->registerButton()->isEnabled());
  const QString userId = settings->userId();
  EXPECT_EQ(userId.size(), 9);
  EXPECT_EQ(settings->password(), QStringLiteral("pa'ss w&rd#1"));
  // Kept in the settings file, not only in memory.
  Settings reread(settings->file());
  reread.read();
  EXPECT_EQ(reread.userId(), userId);
  wizard->pressFinish();
  EXPECT_EQ(wizard->result(), QDialog::Accepted);

  // The same account, typed in as an existing user on another computer.
  settings->setUserId({});
  auto again = Open(SiteOf(service));
  again->typePage()->findChild<QRadioButton*>("1152")->click();
  Type(again->typePage(), 1147, userId);
  Type(again->typePage(), 1144, QStringLiteral("wrong"));
  again->pressNext();
  ASSERT_EQ(again->activePage(), again->sendPage());
  again->sendPage()->registerButton()->click();
  // A refused check returns to the first page with the service's words.
  EXPECT_EQ(again->activePage(), again->typePage());
  EXPECT_EQ(prompter.prompts().back().kind, ScriptedPrompter::Kind::Error);
  EXPECT_FALSE(prompter.prompts().back().text.isEmpty());
  EXPECT_TRUE(settings->userId().isEmpty());
  Type(again->typePage(), 1144, QStringLiteral("pa'ss w&rd#1"));
  again->pressNext();
  again->sendPage()->registerButton()->click();
  EXPECT_EQ(again->sendPage()->status(),
            QStringLiteral("Registration complete.  Please click <Finish> to retrieve your photos."));
  EXPECT_EQ(settings->userId(), userId);
  // Back from the send page skips the new user's pages.
  EXPECT_EQ(again->wizardButtons(), CWizardSheet::Finish);
}

TEST_F(ServiceAccountWizardTest, AServiceThatCannotBeReachedIsACommunicationErrorWithoutThePassword) {
  auto wizard = Open(ServiceSite{QStringLiteral("127.0.0.1:1"), QStringLiteral("127.0.0.1:1"), {}});
  wizard->pressNext();
  FillDemo(*wizard);
  wizard->pressNext();
  Passwords(*wizard, QStringLiteral("hush"), QStringLiteral("hush"));
  wizard->pressNext();
  wizard->sendPage()->registerButton()->click();
  const QString status = wizard->sendPage()->status();
  EXPECT_TRUE(status.startsWith(
      QStringLiteral("An error occured when trying to communicate with https://127.0.0.1:1/register.asp.\nThe server "
                     "could not be reached")))
      << status.toStdString();
  EXPECT_FALSE(status.contains(QStringLiteral("hush")));
  EXPECT_EQ(wizard->wizardButtons(), CWizardSheet::Back);
  EXPECT_TRUE(settings->userId().isEmpty());
  // Back and forward again offers Register Me once more.
  wizard->pressBack();
  wizard->pressNext();
  EXPECT_TRUE(wizard->sendPage()->registerButton()->isEnabled());
}

}  // namespace
