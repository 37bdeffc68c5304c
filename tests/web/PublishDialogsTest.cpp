// Publishing and retrieving as the user meets them: the send choice, the publishing and
// download dialogs, the Web Space dialog and the album page's address, against the
// reference service and its upload server.

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTimer>

#include "albums/AlbumFile.h"
#include "editing/EditingDialogFixture.h"
#include "inet/ResponseText.h"
#include "inet/ServiceRequests.h"
#include "labels/LabelTemplates.h"
#include "photoalbums/CPhotoAlbumsPage.h"
#include "support/ReferenceService.h"
#include "web/AccountRequests.h"
#include "web/CDownloadDialog.h"
#include "web/CPublishDialog.h"
#include "web/PublishToWeb.h"

namespace {

class PublishDialogsTest : public EditingDialogFixture {
 protected:
  void SetUp() override {
    ASSERT_TRUE(service.isRunning()) << service.error().toStdString();
    qputenv("BRIVANE_PROGRAM_FOLDER", QFile::encodeName(home.path() + "/"));
    qputenv("BRIVANE_SERVICE_HOST", QStringLiteral("localhost:%1").arg(service.httpsPort()).toUtf8());
    qputenv("BRIVANE_SERVICE_WEB_HOST", QStringLiteral("localhost:%1").arg(service.httpPort()).toUtf8());
    qputenv("BRIVANE_SERVICE_CA_FILE", QFile::encodeName(service.caFile()));
    templates = LoadLabelTemplates(QString::fromUtf8(BRIVANE_PROGRAM_DIR) + "labels.dat");
    ASSERT_TRUE(store->EnsureFolder());
    for (const char* name : {"Beach", "Fish & Chips"}) {
      ImageBitmap picture = TestGradient(320, 240);
      ASSERT_EQ(store->StorePhoto(picture, QString::fromUtf8(name), QStringLiteral("At the sea")), SUCCESS);
      FreeBitmap(picture);
    }
    // One album: Beach on the first place of its one page.
    PhotoAlbum album;
    album.Name = QStringLiteral("Summer");
    album.Pages.push_back(AlbumPage::Blank(templates.DefaultAlbumLayout()));
    album.Pages[0].SetName(0, QStringLiteral("Beach"));
    ASSERT_TRUE(SaveAlbums(home.filePath("photos.dat"), {album}));
    content = std::make_unique<QWidget>();
    albums = std::make_unique<CPhotoAlbumsPage>(*host, templates, content.get(), nullptr);
    publish = std::make_unique<PublishToWeb>(*host, *albums);
    settings->setUserId(SignUp());
    settings->setPassword(QStringLiteral("pw"));
  }
  void TearDown() override {
    for (const char* name : {"BRIVANE_PROGRAM_FOLDER", "BRIVANE_SERVICE_HOST", "BRIVANE_SERVICE_WEB_HOST",
                             "BRIVANE_SERVICE_CA_FILE"})
      qunsetenv(name);
  }

  QString SignUp() {
    RegistrationDetails details{"Ann", "Lee", "1 Road", "", "Town", "State", "123", "", "555", "", "", "ann@example.com"};
    const QString answer = FetchOnFreshConnection(
        *host->internetSession(), SignUpUrl(QStringLiteral("localhost:%1").arg(service.httpsPort()), details,
                                            QStringLiteral("pw")));
    return GetResponseValue(answer, QStringLiteral("UserId="));
  }

  // Runs step on every modal window that comes up (each once) until the test's code returns.
  void Drive(const std::function<void(QWidget*)>& step) {
    auto* timer = new QTimer(&host->window);
    auto seen = std::make_shared<QList<QWidget*>>();
    QObject::connect(timer, &QTimer::timeout, [step, seen] {
      QWidget* modal = QApplication::activeModalWidget();
      if (modal && !seen->contains(modal)) {
        seen->append(modal);
        step(modal);
      }
    });
    timer->start(20);
  }
  static void WhenEnded(QWidget* dialog, const std::function<void(CTransferDialog*)>& then) {
    auto* transfer = qobject_cast<CTransferDialog*>(dialog);
    ASSERT_NE(transfer, nullptr);
    QObject::connect(transfer, &CTransferDialog::runEnded, transfer, [transfer, then] { then(transfer); });
  }
  static QString Text(QWidget* dialog, int id) {
    auto* label = dialog->findChild<QLabel*>(QString::number(id));
    return label ? label->text() : QStringLiteral("<none>");
  }
  QString Link() const { return albums->albums().at(0).Pages.at(0).WebLink; }

  ReferenceService service{[] {
    ReferenceService::Options options;
    options.ftp = true;
    return options;
  }()};
  LabelTemplateList templates;
  std::unique_ptr<QWidget> content;
  std::unique_ptr<CPhotoAlbumsPage> albums;
  std::unique_ptr<PublishToWeb> publish;
};

TEST_F(PublishDialogsTest, PublishSendsEverythingStoresThePageLinksAndRetrieveBringsItBack) {
  QStringList shown;
  Drive([&](QWidget* modal) {
    shown.append(modal->objectName());
    if (modal->objectName() == QLatin1String("213")) {
      auto* ok = modal->findChildren<QPushButton*>().first();
      for (QPushButton* button : modal->findChildren<QPushButton*>())
        if (button->text() == QLatin1String("OK")) ok = button;
      EXPECT_FALSE(ok->isEnabled());
      Shot(*modal, "publish-choice.png");
      modal->findChild<QRadioButton*>(QStringLiteral("1174"))->click();
      EXPECT_TRUE(ok->isEnabled());
      ok->click();
    } else if (modal->objectName() == QLatin1String("204")) {
      EXPECT_EQ(Text(modal, 1140), QStringLiteral("Brivane is currently sending"));
      WhenEnded(modal, [](CTransferDialog* dialog) {
        EXPECT_EQ(Text(dialog, 1129), QStringLiteral("4"));
        EXPECT_EQ(Text(dialog, 1130), QStringLiteral("4"));
        EXPECT_EQ(Text(dialog, 1128), QStringLiteral("Everything is complete."));
        EXPECT_EQ(Text(dialog, 1141), QStringLiteral("100%"));
        EXPECT_EQ(Text(dialog, 1139), Text(dialog, 1137));
        EXPECT_FALSE(dialog->control(1127)->isEnabled());
        EXPECT_TRUE(dialog->control(1)->isEnabled());
        Shot(*dialog, "publish-ended.png");
      });
    }
  });
  prompter.answer(Prompter::Answer::No);  // "Would you like to view your photos online?"
  EXPECT_TRUE(publish->run());
  EXPECT_EQ(shown, (QStringList{"213", "204"}));
  ASSERT_EQ(prompter.prompts().size(), 1);
  EXPECT_EQ(prompter.prompts()[0].text,
            QStringLiteral("Your upload is finished.  Would you like to view your photos online?"));
  // The page's address came back and is kept; the albums count as published.
  EXPECT_TRUE(Link().contains(QLatin1String("%s"))) << Link().toStdString();
  EXPECT_EQ(LoadAlbums(home.filePath("photos.dat"), templates).at(0).Pages.at(0).WebLink, Link());
  EXPECT_FALSE(settings->lastUploadDate().isEmpty());
  albums->selectAlbum(0);
  albums->selectPage(0);
  const QString address = publish->albumPageAddress();
  EXPECT_EQ(prompter.prompts().size(), 1);  // nothing asked: all is on the web
  EXPECT_FALSE(address.contains(QLatin1String("%s")));
  EXPECT_TRUE(address.contains(QLatin1String("UserId=") + settings->userId())) << address.toStdString();
  EXPECT_EQ(ReferenceService::Reply(service.request(address.mid(address.indexOf('/', 8)).toUtf8())).status, 200);

  // On a new computer: no photos, no albums; the download dialog brings both back.
  for (const QString& stem : store->Stems()) ASSERT_EQ(store->Delete(stem), SUCCESS);
  QFile::remove(home.filePath("photos.dat"));
  albums->reloadAlbums();
  RetrieveRequest request;
  request.ServiceHost = qEnvironmentVariable("BRIVANE_SERVICE_HOST");
  request.UserId = settings->userId();
  request.PhotoFolder = store->Folder();
  request.AlbumsFile = albums->albumsFile();
  request.Templates = &templates;
  CDownloadDialog download(*host, *host->internetSession(), request, &host->window);
  QObject::connect(&download, &CTransferDialog::runEnded, &download, [&] {
    EXPECT_EQ(Text(&download, 1153), QStringLiteral("4"));
    EXPECT_EQ(Text(&download, 1140), QStringLiteral("Brivane is currently"));
    Shot(download, "download-ended.png");
    download.accept();
  });
  download.exec();
  EXPECT_TRUE(download.result().Completed) << download.result().Error.toStdString();
  EXPECT_TRUE(store->Contains(QStringLiteral("Fish && Chips")));
  albums->reloadAlbums();
  ASSERT_EQ(albums->albums().size(), 1u);
  EXPECT_EQ(albums->albums()[0].Pages[0].Name(0), QStringLiteral("Beach"));
}

TEST_F(PublishDialogsTest, TheAlbumPageQuestionsEndSilentlyOnNo) {
  albums->selectAlbum(0);
  albums->selectPage(0);
  // Never published: the albums count as changed.
  prompter.answer(Prompter::Answer::No);
  EXPECT_EQ(publish->albumPageAddress(), QString());
  ASSERT_EQ(prompter.prompts().size(), 1);
  EXPECT_TRUE(prompter.prompts()[0].text.startsWith(
      QStringLiteral("Your online photo albums are not up to date with the albums on your PC.  ")));
  // Albums unchanged since, but this page has no address.
  settings->setLastUploadDate(QDateTime::currentDateTime().addSecs(60));
  prompter.answer(Prompter::Answer::Cancel);
  EXPECT_EQ(publish->albumPageAddress(), QString());
  ASSERT_EQ(prompter.prompts().size(), 2);
  EXPECT_EQ(prompter.prompts()[1].text,
            QStringLiteral("You have not published this photo album page to the web.  Would you like to publish it now?"));
  EXPECT_EQ(PublishToWeb::AlbumPageAddress(QStringLiteral("http://h/viewalbum.asp?UserId=%s&AlbumId=7"),
                                           QStringLiteral("123456789")),
            QStringLiteral("http://h/viewalbum.asp?UserId=123456789&AlbumId=7"));
}

TEST_F(PublishDialogsTest, EscapeStopsTheRunFirstAndTheSpaceShortageShowsItsFigures) {
  // A large file keeps the run busy; Escape comes as soon as it runs (an idle machine
  // sends 64 MB over loopback between two polls of the dialog's figures).
  {
    QFile big(store->Folder() + "Big.jpg");
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    const QByteArray block(1 << 20, 'x');
    for (int i = 0; i < 64; ++i) big.write(block);
  }
  PublishRequest request;
  request.ServiceHost = qEnvironmentVariable("BRIVANE_SERVICE_HOST");
  request.UserId = settings->userId();
  request.PhotoFolder = store->Folder();
  {
    CPublishDialog dialog(*host, *publish, *host->internetSession(), request, &host->window);
    auto* poll = new QTimer(&dialog);
    QObject::connect(poll, &QTimer::timeout, &dialog, [&] {
      if (dialog.running()) {
        poll->stop();
        dialog.reject();  // Escape
        EXPECT_TRUE(dialog.isVisible());  // not before the run has ended
      }
    });
    poll->start(10);
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);
    EXPECT_TRUE(dialog.result().Stopped);
    EXPECT_FALSE(dialog.running());
  }
  EXPECT_TRUE(prompter.prompts().isEmpty());
  // Nothing of Big.jpg is on the web under its name.
  const QString folder = service.dataFolder() + "/upload/photos/" + settings->userId() + "/";
  EXPECT_FALSE(QFile::exists(folder + "Big.jpg"));

  // Too little space: the Web Space dialog tells how much is missing; Cancel closes both.
  ASSERT_EQ(QProcess::execute(QStringLiteral(BRIVANE_PROGRAM_DIR "brivane-service"),
                              {"--data", service.dataFolder(), "set-space", settings->userId(), "1000000"}),
            0);
  QString spaceText;
  Drive([&](QWidget* modal) {
    if (modal->objectName() != QLatin1String("214")) return;
    spaceText = Text(modal, 1175);
    Shot(*modal, "publish-web-space.png");
    QMetaObject::invokeMethod(modal, "reject", Qt::QueuedConnection);
  });
  CPublishDialog dialog(*host, *publish, *host->internetSession(), request, &host->window);
  EXPECT_EQ(dialog.exec(), QDialog::Accepted);
  ASSERT_TRUE(dialog.result().Shortage);
  // What the stopped upload left under its hidden name counts as used, and as freed.
  EXPECT_TRUE(QRegularExpression(QStringLiteral("^Currently you have used (\\d+\\.\\d) Megabytes\\.  You have 1\\.0 "
                                                "Megabytes all total available to you\\.  Therefore you need an "
                                                "additional \\d+\\.\\d{3} megabytes\\.$"))
                  .match(spaceText)
                  .hasMatch())
      << spaceText.toStdString();
  EXPECT_EQ(dialog.result().FilesSent, 0);
}

TEST_F(PublishDialogsTest, WithoutInternetPublishSaysSo) {
  host->internetUnavailable = true;
  EXPECT_FALSE(publish->run());
  ASSERT_EQ(prompter.prompts().size(), 1);
  EXPECT_EQ(prompter.prompts()[0].text, QStringLiteral("Brivane is unable to connect to the Internet.  Please try again."));
}

}  // namespace
