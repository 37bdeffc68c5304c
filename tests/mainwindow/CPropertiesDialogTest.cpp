#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QSpinBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "MainWindowFixture.h"
#include "library/Settings.h"
#include "mail/MailPasswordStore.h"
#include "system/Profile.h"
#include "support/FileBytes.h"

namespace {
// Fills in the Properties dialog, once it is open, through its controls and presses the
// button with the given id (1 OK, 2 Cancel). Returns what the dialog showed at first.
struct DialogRun {
  QString initialAddress;
  QString initialServer;
  bool found = false;
};

void AnswerPropertiesDialog(DialogRun& run, const QString& address, const QString& server,
                            const char* button) {
  QTimer::singleShot(0, [&run, address, server, button] {
    QWidget* dialog = QApplication::activeModalWidget();
    if (!dialog || dialog->objectName() != "236") return;
    auto* addressEdit = dialog->findChild<QLineEdit*>("1219");
    auto* serverEdit = dialog->findChild<QLineEdit*>("1220");
    auto* press = dialog->findChild<QPushButton*>(button);
    if (!addressEdit || !serverEdit || !press) return;
    run.found = true;
    run.initialAddress = addressEdit->text();
    run.initialServer = serverEdit->text();
    addressEdit->setText(address);
    serverEdit->setText(server);
    press->click();
  });
}

}  // namespace

TEST_F(MainWindowFixture, PreferencesOkStoresBothFieldsEvenWhenEmpty) {
  WriteProfileString(settingsFile(), "Settings", "EmailAddress", "anna@example.com");
  WriteProfileString(settingsFile(), "Settings", "EmailServer", "smtp.example.com");
  auto window = makeWindow();

  DialogRun run;
  AnswerPropertiesDialog(run, "", "", "1");
  window->commandAction(32827)->trigger();
  ASSERT_TRUE(run.found);
  EXPECT_EQ(run.initialAddress, "anna@example.com");
  EXPECT_EQ(run.initialServer, "smtp.example.com");
  EXPECT_EQ(stored("EmailAddress"), "");
  EXPECT_EQ(stored("EmailServer"), "");
  EXPECT_EQ(window->settings().emailAddress(), "");

  // No check is made on the values.
  AnswerPropertiesDialog(run, "not an address", "mail.example.org", "1");
  window->commandAction(32827)->trigger();
  EXPECT_EQ(stored("EmailAddress"), "not an address");
  EXPECT_EQ(window->settings().emailServer(), "mail.example.org");
  EXPECT_EQ(prompter.prompts().size(), 0);
}

TEST_F(MainWindowFixture, PreferencesCancelChangesNothing) {
  WriteProfileString(settingsFile(), "Settings", "EmailAddress", "anna@example.com");
  const QByteArray before = ReadAll(settingsFile());
  auto window = makeWindow();

  DialogRun run;
  AnswerPropertiesDialog(run, "someone@else.org", "", "2");
  window->commandAction(32827)->trigger();
  ASSERT_TRUE(run.found);
  EXPECT_EQ(ReadAll(settingsFile()), before);
  EXPECT_EQ(window->settings().emailAddress(), "anna@example.com");
  EXPECT_EQ(window->settings().emailServer(), "");
}

TEST_F(MainWindowFixture, PreferencesKeepTheServersPortSecurityUserAndPassword) {
  WriteProfileString(settingsFile(), "Settings", "EmailServer", "smtp.example.com");
  auto window = makeWindow();
  bool found = false;
  QTimer::singleShot(0, [&found] {
    QWidget* dialog = QApplication::activeModalWidget();
    if (!dialog || dialog->objectName() != "236") return;
    auto* security = dialog->findChild<QComboBox*>("emailSecurity");
    auto* port = dialog->findChild<QSpinBox*>("emailPort");
    found = security && port && port->value() == 25;
    if (!found) return;
    // The port follows the security while it is the usual one.
    security->setCurrentIndex(security->findData("starttls"));
    found = port->value() == 587;
    dialog->findChild<QLineEdit*>("emailUser")->setText(" anna ");
    dialog->findChild<QLineEdit*>("emailPassword")->setText("s3cret pw");
    dialog->findChild<QPushButton*>("1")->click();
  });
  window->commandAction(32827)->trigger();
  ASSERT_TRUE(found);
  EXPECT_EQ(stored("EmailPort"), "587");
  EXPECT_EQ(stored("EmailSecurity"), "starttls");
  EXPECT_EQ(stored("EmailUser"), "anna");
  MailPasswordStore passwords(settingsFile());
  EXPECT_EQ(passwords.Load("smtp.example.com", "anna"), "s3cret pw");
  if (!passwords.usedSecretService()) {
    EXPECT_EQ(QFile(settingsFile()).permissions() & (QFile::ReadGroup | QFile::ReadOther), QFile::Permissions());
  }
  // Read back as a new window reads them.
  Settings again(settingsFile());
  again.read();
  EXPECT_EQ(again.emailPort(), 587);
  EXPECT_EQ(again.emailSecurity(), "starttls");
}
