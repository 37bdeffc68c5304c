// The whole path of a photo: FTP upload with the account's upload password, then the
// photo's page and file over HTTP, with the real upload server as the service's child.

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>

#include "ServiceTesting.h"

namespace {
TEST(ServiceUpload, UploadedPhotoIsServedOnItsPage) {
  if (!QFile::exists(QString(BRIVANE_SOURCE_DIR) + "service/ftp/upload_server.py"))
    GTEST_SKIP() << "the FTP upload server is not in the sources yet";
  ASSERT_TRUE(QFile::exists(QString(BRIVANE_PROGRAM_DIR) + "service/upload_server.py"))
      << "the build did not copy the upload server into the program folder";
  ReferenceService::Options options;
  options.ftp = true;
  ReferenceService service(options);
  ASSERT_TRUE(service.isRunning()) << service.error().toStdString();
  ASSERT_GT(service.ftpPort(), 0);

  const QByteArray user =
      service
          .get(
              "/register.asp?FirstName=Al&LastName=Li&Address1=R&Address2=&City=T&State=S&Zip=1"
              "&Country=&Phone=5&Fax=&Mobile=&Email=a%40b.org&Password=pw")
          .mid(7, 9);
  const QByteArray paths = service.get("/getpaths.asp?UserId=" + user);
  const QByteArray port = QByteArray::number(service.ftpPort());
  ASSERT_TRUE(paths.startsWith("UploadPath=ftp://localhost:" + port + "/photos\r\n"))
      << paths.toStdString();
  const qsizetype from = paths.indexOf("UploadPwd=") + 10;
  const QByteArray password = paths.mid(from, paths.indexOf("\r\n", from) - from);

  // As the client does it: into /photos, then into (or make) the user's folder.
  const QByteArray jpeg("\xFF\xD8 uploaded \xFF\xD9", 14);
  QProcess ftp;
  ftp.start("/usr/bin/python3", {"-c", R"(import ftplib, io, sys
f = ftplib.FTP()
f.connect('127.0.0.1', int(sys.argv[1]), timeout=20)
f.login(sys.argv[2], sys.argv[3])
f.cwd('photos')
try:
    f.cwd(sys.argv[2])
except ftplib.error_perm:
    f.mkd(sys.argv[2]); f.cwd(sys.argv[2])
f.storbinary('STOR Fish && Chips.jpg', sys.stdin.buffer)
f.quit()
)",
                                 port, user, password});
  ftp.write(jpeg);
  ftp.closeWriteChannel();
  ASSERT_TRUE(ftp.waitForFinished(30000));
  ASSERT_EQ(ftp.exitCode(), 0) << ftp.readAllStandardError().toStdString();

  ASSERT_EQ(service.get("/savephoto.asp?UserId=" + user + "&Photo=" + SentDoubled("Fish & Chips") +
                        "&Size=14&W=1&H=1&Comment="),
            "Result=OK\r\n");
  EXPECT_TRUE(service.get("/viewphoto.asp?UserId=" + user + "&Photo=" + Sent("Fish & Chips"))
                  .contains("src=\"/photos/" + user + "/Fish%20%26%26%20Chips.jpg\""));
  EXPECT_EQ(service.get("/photos/" + user + "/Fish%20%26%26%20Chips.jpg"), jpeg);
}
}  // namespace
