// The e-mail dialogs as a user drives them: the address book and its file, a person's
// address, and the e-mail dialog's checks and link.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QTimer>
#include <QTreeWidget>

#include <QDir>

#include "editing/EditingDialogFixture.h"
#include "mail/MailPeer.h"
#include "mail/AddressBook.h"
#include "mail/CAddressBookDialog.h"
#include "mail/CAddressDialog.h"
#include "mail/CEmailDialog.h"
#include "mail/Recipients.h"

namespace {

class EmailDialogsTest : public EditingDialogFixture {
 protected:
  QString BookFile() const { return home.filePath("addrbook.dat"); }

  // Fills the next modal CAddressDialog with name and address and presses OK.
  void AnswerAddressDialog(const QString& name, const QString& address) {
    auto* timer = new QTimer(&host->window);
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, name, address] {
      auto* dialog = qobject_cast<CAddressDialog*>(QApplication::activeModalWidget());
      if (!dialog) return;
      timer->stop();
      dialog->findChild<QLineEdit*>("1051")->setText(name);
      dialog->findChild<QLineEdit*>("1112")->setText(address);
      dialog->accept();
      timer->deleteLater();
    });
    timer->start();
  }

  static QPushButton* Button(QWidget& dialog, int id) { return dialog.findChild<QPushButton*>(QString::number(id)); }
};

TEST(Recipients, SplitAndAppendAsTyped) {
  EXPECT_EQ(SplitRecipients("a@b.com"), QStringList{"a@b.com"});
  EXPECT_EQ(SplitRecipients("a@b.com;c@d.com;"), (QStringList{"a@b.com", "c@d.com"}));
  // A last address without its ";" counts, blanks around addresses go, empty pieces too.
  EXPECT_EQ(SplitRecipients(" a@b.com ; ;c@d.com"), (QStringList{"a@b.com", "c@d.com"}));
  EXPECT_EQ(AppendRecipients("", "x@y.com;"), "x@y.com;");
  EXPECT_EQ(AppendRecipients("a@b.com", "x@y.com;"), "a@b.com;x@y.com;");
  EXPECT_EQ(AppendRecipients("a@b.com;", "x@y.com;"), "a@b.com;x@y.com;");
}

TEST_F(EmailDialogsTest, APersonNeedsANameAndAnAddressOfTheUsualForm) {
  CAddressDialog dialog(prompter, {}, {}, &host->window);
  dialog.accept();
  EXPECT_EQ(prompter.prompts().back().text, "Please fill in the person's name.");
  dialog.findChild<QLineEdit*>("1051")->setText("  Ann Lee  ");
  dialog.accept();
  EXPECT_EQ(prompter.prompts().back().text, "Please fill in the person's Email address.");
  dialog.findChild<QLineEdit*>("1112")->setText("@example.com");
  dialog.accept();
  EXPECT_EQ(prompter.prompts().back().text, "Your email address needs to be something like 'jsmith@myprovider.com'");
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  dialog.findChild<QLineEdit*>("1112")->setText(" ann@example.com ");
  Shot(dialog, "mail-address.png");
  dialog.accept();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.name(), "Ann Lee");
  EXPECT_EQ(dialog.address(), "ann@example.com");
  EXPECT_EQ(prompter.prompts().size(), 3);
}

TEST_F(EmailDialogsTest, TheAddressBookAddsEditsDeletesAndChoosesFromTheLastRowUp) {
  ASSERT_TRUE(SaveAddressBook(BookFile(), {{"Ann", "ann@example.com"}, {"Bob", "bob@example.com"}}));
  CAddressBookDialog book(prompter, BookFile(), &host->window);
  book.show();
  QTreeWidget* list = book.list();
  ASSERT_EQ(list->topLevelItemCount(), 2);
  EXPECT_FALSE(Button(book, 1086)->isEnabled());
  EXPECT_FALSE(Button(book, 1081)->isEnabled());

  AnswerAddressDialog("Cleo", "cleo@example.com");
  Button(book, 1167)->click();
  ASSERT_EQ(list->topLevelItemCount(), 3);
  EXPECT_TRUE(list->topLevelItem(2)->isSelected());
  EXPECT_EQ(LoadAddressBook(BookFile()).size(), 3);

  list->clearSelection();
  list->topLevelItem(1)->setSelected(true);
  EXPECT_TRUE(Button(book, 1086)->isEnabled());
  AnswerAddressDialog("Robert", "robert@example.com");
  Button(book, 1086)->click();
  EXPECT_EQ(LoadAddressBook(BookFile())[1].name, "Robert");
  EXPECT_EQ(list->topLevelItem(1)->text(1), "robert@example.com");

  prompter.answer(Prompter::Answer::No);
  Button(book, 1081)->click();
  EXPECT_EQ(prompter.prompts().back().text, "Are you sure you want to delete Robert - robert@example.com?");
  EXPECT_EQ(list->topLevelItemCount(), 3);

  Button(book, 1165)->click();
  EXPECT_EQ(list->selectedItems().size(), 3);
  Shot(book, "mail-address-book.png");
  book.accept();
  EXPECT_EQ(book.chosenAddresses(), "cleo@example.com;robert@example.com;ann@example.com;");

  list->topLevelItem(1)->setSelected(false);
  prompter.answer(Prompter::Answer::Yes);
  Button(book, 1081)->click();
  EXPECT_EQ(prompter.prompts().back().text, "Are you sure you want to delete the selected email addresses?");
  ASSERT_EQ(list->topLevelItemCount(), 1);
  const QList<AddressBookEntry> left = LoadAddressBook(BookFile());
  ASSERT_EQ(left.size(), 1);
  EXPECT_EQ(left[0].name, "Robert");
  Button(book, 1005)->click();
  EXPECT_TRUE(list->selectedItems().isEmpty());
}

TEST_F(EmailDialogsTest, TheEmailDialogOffersTheLinkAndChecksTheFieldsBeforeSending) {
  MailServer server;
  server.host = "127.0.0.1";
  server.port = 1;
  CEmailDialog dialog(*host, server, {}, "http://localhost:8080/viewphoto.asp?UserId=1&Photo=Beach day",
                      "photo", &host->window);
  EXPECT_EQ(dialog.findChild<QLabel*>("1160")->text(), "Email this photo to your friends and family.");
  EXPECT_EQ(dialog.findChild<QLineEdit*>("1235")->text(), "Here's some new photos!");
  EXPECT_EQ(dialog.message()->toPlainText(),
            "Click on the link below to see the photo.\n\n"
            "http://localhost:8080/viewphoto.asp?UserId=1&Photo=Beach%20day\n\n");
  EXPECT_TRUE(dialog.formattedMessage().isEmpty());

  dialog.accept();
  EXPECT_EQ(prompter.prompts().back().text, "Please type your email address.");
  dialog.findChild<QLineEdit*>("1234")->setText(" me@example.com ");
  dialog.accept();
  EXPECT_EQ(prompter.prompts().back().text, "Please type the email addresses you are sending this to.");
  auto* friends = dialog.findChild<QLineEdit*>("1233");
  friends->setText("ann@example.com;bob.example.com;");
  dialog.accept();
  EXPECT_EQ(prompter.prompts().back().text,
            "bob.example.com is not a valid email address.  The email address needs to be something like "
            "'jsmith@myprovider.com'");
  EXPECT_EQ(friends->selectedText(), "bob.example.com");

  // Nothing listens on port 1: the server cannot be reached, and the dialog stays.
  friends->setText("ann@example.com;bob@example.com");
  dialog.accept();
  EXPECT_TRUE(prompter.prompts().back().text.startsWith(
      "Brivane is unable to connect to 127.0.0.1 to send email.  Please double check to make sure the 127.0.0.1 is "
      "the correct name of your email server."));
  EXPECT_EQ(dialog.result(), QDialog::Rejected);

  // Bold text is formatting: the message then also goes as HTML.
  QTextCursor cursor(dialog.message()->document());
  QTextCharFormat bold;
  bold.setFontWeight(QFont::Bold);
  cursor.insertText("Look! ", bold);
  EXPECT_TRUE(dialog.formattedMessage().contains("font-weight"));
}

TEST_F(EmailDialogsTest, SendMailsEachFriendAndKeepsOnlyTheRefusedForAnotherTry) {
  const QString spool = home.filePath("spool");
  ASSERT_TRUE(QDir().mkpath(spool));
  MailPeer peer;
  ASSERT_TRUE(peer.start({"--spool", spool}));
  MailServer server;
  server.host = "127.0.0.1";
  server.port = peer.port();
  CEmailDialog dialog(*host, server, "me@example.com", "http://localhost:8080/viewphoto.asp?UserId=1&Photo=Beach",
                      "photo", &host->window);
  dialog.findChild<QLineEdit*>("1233")->setText("ann@example.com;bob@example.com;");
  Shot(dialog, "mail-email.png");
  dialog.accept();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_TRUE(prompter.prompts().isEmpty());
  const QStringList mails = QDir(spool).entryList({"*.eml"}, QDir::Files, QDir::Name);
  ASSERT_EQ(mails.size(), 2);
  QFile first(spool + "/" + mails[0]);
  ASSERT_TRUE(first.open(QIODevice::ReadOnly));
  const QByteArray mail = first.readAll();
  EXPECT_TRUE(mail.contains("To: ann@example.com\r\n")) << mail.toStdString();
  EXPECT_TRUE(mail.contains("Subject:Here's some new photos!\r\n"));
  // The body may travel quoted-printable: its soft line breaks and "=3D" undone.
  QByteArray body = mail;
  body.replace("=\r\n", "").replace("=3D", "=");
  EXPECT_TRUE(body.contains("http://localhost:8080/viewphoto.asp?UserId=1&Photo=Beach")) << mail.toStdString();

  MailPeer refusing;
  ASSERT_TRUE(refusing.start({"--spool", spool, "--mode", "refuse-rcpt"}));
  server.port = refusing.port();
  CEmailDialog refused(*host, server, "me@example.com", "http://h/p", "photo", &host->window);
  refused.findChild<QLineEdit*>("1233")->setText("cleo@example.com");
  refused.accept();
  EXPECT_EQ(refused.result(), QDialog::Rejected);
  ASSERT_EQ(prompter.prompts().size(), 1);
  EXPECT_TRUE(prompter.prompts()[0].text.startsWith("The email could not be sent to:\ncleo@example.com: "));
  EXPECT_TRUE(prompter.prompts()[0].text.contains("No such user here"));
  EXPECT_EQ(refused.findChild<QLineEdit*>("1233")->text(), "cleo@example.com;");
}

}  // namespace
