// The client's requests and transfers against the reference service and its upload
// server: TLS with the service's own certificate, the path request, escaping that
// survives the round trip, and files by FTP into the user's folder.

#include <gtest/gtest.h>

#include <QBuffer>

#include "inet/FtpConnection.h"
#include "inet/InternetSession.h"
#include "inet/QueryEscape.h"
#include "inet/ResponseText.h"
#include "inet/ServiceRequests.h"
#include "inet/UploadPaths.h"
#include "support/ReferenceService.h"
#include "web/AccountRequests.h"

namespace {

class ServiceTransferTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(service.isRunning()) << service.error().toStdString(); }

  QString host() const { return QStringLiteral("localhost:%1").arg(service.httpsPort()); }

  std::unique_ptr<InternetSession> Session(bool trustService) const {
    InternetOptions options;
    if (trustService) options.caFile = service.caFile();
    return InternetSession::Open(options);
  }

  QString SignUp(InternetSession& session) const {
    RegistrationDetails details{"Ann", "Lee", "1 Road", "", "Town", "State", "123", "", "555", "", "", "ann@example.com"};
    const QString answer = FetchOnFreshConnection(session, SignUpUrl(host(), details, QStringLiteral("pw")));
    return GetResponseValue(answer, QStringLiteral("UserId="));
  }

  static ReferenceService::Options WithFtp() {
    ReferenceService::Options options;
    options.ftp = true;
    return options;
  }
  ReferenceService service{WithFtp()};
};

TEST_F(ServiceTransferTest, TheServicesCertificateIsCheckedAndThePathRequestAnswers) {
  auto stranger = Session(false);
  QString error;
  EXPECT_EQ(FetchOnFreshConnection(*stranger, AccountCheckUrl(host(), QStringLiteral("1"), QStringLiteral("x")), &error),
            QStringLiteral("Failed"));
  EXPECT_TRUE(error.startsWith(QStringLiteral("A secure connection to the server could not be made")))
      << error.toStdString();

  auto session = Session(true);
  const QString userId = SignUp(*session);
  ASSERT_EQ(userId.size(), 9);
  EXPECT_EQ(FetchOnFreshConnection(*session, AccountCheckUrl(host(), userId, QStringLiteral("pw"))),
            QStringLiteral("SUCCESS"));
  const UploadPaths paths = GetUploadPaths(*session, host(), userId);
  ASSERT_TRUE(paths.ok) << paths.errorText.toStdString();
  EXPECT_EQ(paths.uploadHost(), QStringLiteral("localhost:%1").arg(service.ftpPort()));
  EXPECT_EQ(paths.uploadFolder(), QStringLiteral("/photos"));
  EXPECT_EQ(paths.uploadId, userId);
  EXPECT_GT(paths.spacePurchased, 0);
  EXPECT_EQ(paths.spaceUsed, 0);

  const UploadPaths unknown = GetUploadPaths(*session, host(), QStringLiteral("999"));
  EXPECT_FALSE(unknown.ok);
  EXPECT_FALSE(unknown.errorText.isEmpty());
}

TEST_F(ServiceTransferTest, EscapedNamesComeBackAsTheyWere) {
  auto session = Session(true);
  const QString userId = SignUp(*session);
  const QString webPath = GetUploadPaths(*session, host(), userId).webPath;
  const QString album = QStringLiteral("Tom & Jerry's 100% #1 + Zoë");
  const QString saved =
      ServiceGet(*session, webPath, QStringLiteral("/savealbum.asp"),
                 QStringLiteral("?UserId=%1&Album=%2&NumPages=%3").arg(userId, EscapeQueryText(album), QStringLiteral("1")));
  const QString albumId = GetResponseValue(saved, QStringLiteral("AlbumId="));
  ASSERT_FALSE(albumId.isEmpty()) << saved.toStdString() << " from " << webPath.toStdString();
  const QString url = GetResponseValue(
      ServiceGet(*session, webPath, QStringLiteral("/savealbumpage.asp"),
                 QStringLiteral("?AlbumId=%1&PageNum=0&NumRows=1&NumCols=2").arg(albumId)),
      QStringLiteral("URL="));
  EXPECT_EQ(url.count(QStringLiteral("%s")), 1) << url.toStdString();
  // A photo's file stem holds its "&" doubled; the service hears the photo's name.
  ServiceGet(*session, webPath, QStringLiteral("/savealbumphoto.asp"),
             QStringLiteral("?UserId=%1&AlbumId=%2&PageNum=0&PhotoNum=1&PhotoName=%3")
                 .arg(userId, albumId, EscapeQueryValue(QStringLiteral("Fish && Chips"))));
  QString answer = ServiceGet(*session, webPath, QStringLiteral("/getalbums.asp"), QStringLiteral("?UserId=") + userId);
  EXPECT_EQ(GetResponseValue(NextResponseLine(answer), QStringLiteral("AlbumCount=")), QStringLiteral("1"));
  NextResponseLine(answer);
  EXPECT_EQ(GetResponseValue(NextResponseLine(answer), QStringLiteral("AlbumName=")), album);
  NextResponseLine(answer);
  NextResponseLine(answer);
  NextResponseLine(answer);
  EXPECT_EQ(GetResponseValue(NextResponseLine(answer), QStringLiteral("Photo0=")).chopped(3), QString());
  EXPECT_EQ(GetResponseValue(NextResponseLine(answer), QStringLiteral("Photo1=")).chopped(3),
            QStringLiteral("Fish & Chips"));
}

TEST_F(ServiceTransferTest, FilesTravelByFtpIntoTheUsersFolderOnly) {
  auto session = Session(true);
  const QString userId = SignUp(*session);
  const UploadPaths paths = GetUploadPaths(*session, host(), userId);
  ASSERT_TRUE(paths.ok);
  QString error;
  EXPECT_FALSE(OpenUploadConnection(*session, paths.uploadHost(), paths.uploadId, QStringLiteral("guess"), &error));
  auto ftp = OpenUploadConnection(*session, paths.uploadHost(), paths.uploadId, paths.uploadPassword, &error);
  ASSERT_TRUE(ftp) << error.toStdString();
  ASSERT_TRUE(ftp->setCurrentDirectory(paths.uploadFolder(), &error)) << error.toStdString();
  if (!ftp->setCurrentDirectory(userId)) {
    ASSERT_TRUE(ftp->createDirectory(userId, &error)) << error.toStdString();
    ASSERT_TRUE(ftp->setCurrentDirectory(userId, &error)) << error.toStdString();
  }
  const QByteArray photo(200000, 'j');
  QBuffer source;
  source.setData(photo);
  source.open(QIODevice::ReadOnly);
  ASSERT_TRUE(ftp->upload(QStringLiteral("Fish && Chips.jpg"), source, {}, &error)) << error.toStdString();
  const auto listing = ftp->listCurrentDirectory(&error);
  ASSERT_TRUE(listing) << error.toStdString();
  ASSERT_EQ(listing->size(), 1);
  EXPECT_EQ(listing->front().name, QStringLiteral("Fish && Chips.jpg"));
  EXPECT_EQ(listing->front().size, photo.size());
  QBuffer received;
  received.open(QIODevice::WriteOnly);
  ASSERT_TRUE(ftp->download(QStringLiteral("Fish && Chips.jpg"), received, {}, &error)) << error.toStdString();
  EXPECT_EQ(received.data(), photo);
  // Another user's folder is out of reach.
  EXPECT_FALSE(ftp->setCurrentDirectory(QStringLiteral("/photos/100000000")));
}

}  // namespace
