// brivane publish and retrieve as a script runs them, against the reference service.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>

#include "LimitedBrivaneRun.h"
#include "support/FileBytes.h"
#include "support/ReferenceService.h"

namespace {

class BrivaneWebCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(service.isRunning()) << service.error().toStdString();
    for (const QString& folder : {Program("a"), Program("b")}) {
      QDir().mkpath(folder);
      QFile::copy(QString(BRIVANE_PROGRAM_DIR) + "labels.dat", folder + "labels.dat");
    }
    qputenv("BRIVANE_WINDOWS_FOLDER", QFile::encodeName(dir.path() + "/"));
  }
  void TearDown() override { qunsetenv("BRIVANE_WINDOWS_FOLDER"); }

  QString Program(const char* name) const { return dir.path() + "/" + name + "/"; }
  BrivaneOutcome Brivane(const char* program, const QStringList& arguments) {
    return RunLimitedBrivane(dir.path(), Program(program), arguments);
  }
  void SignUp() {
    const QByteArray answer = service.get(
        "/register.asp?FirstName=A&LastName=B&Address1=1&Address2=&City=C&State=S&Zip=1&Country=&Phone=1&Fax=&"
        "Mobile=&Email=a%40b.com&Password=pw");
    ASSERT_TRUE(answer.startsWith("UserId=")) << answer.constData();
    WriteRaw(dir.path() + "/quendal.ini",
             "[Settings]\nUserId=" + answer.mid(7, 9) + "\nPassword=pw\nServiceHost=localhost:" +
                 QByteArray::number(service.httpsPort()) + "\nServiceCAFile=" + QFile::encodeName(service.caFile()) +
                 "\n");
  }

  QTemporaryDir dir;
  ReferenceService service{[] {
    ReferenceService::Options options;
    options.ftp = true;
    return options;
  }()};
};

TEST_F(BrivaneWebCommandTest, PublishThenRetrieveElsewhereAndAgainMovesOnlyWhatChanged) {
  const BrivaneOutcome noAccount = Brivane("a", {"publish"});
  EXPECT_EQ(noAccount.status, 1);
  EXPECT_TRUE(noAccount.err.contains("there is no account")) << noAccount.err.toStdString();

  SignUp();
  for (const char* name : {"beach", "Fish & Chips"}) {
    QImage image(120, 90, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    const QString file = dir.path() + "/" + name + ".jpg";
    ASSERT_TRUE(image.save(file, "JPEG"));
    ASSERT_EQ(Brivane("a", {"import", file}).status, 0);
  }
  const BrivaneOutcome first = Brivane("a", {"publish"});
  EXPECT_EQ(first.status, 0) << first.err.toStdString();
  EXPECT_TRUE(first.out.startsWith("sent 4 of 4 files")) << first.out.toStdString();
  const BrivaneOutcome second = Brivane("a", {"publish", "--albums-only"});
  EXPECT_EQ(second.status, 0) << second.err.toStdString();
  EXPECT_TRUE(second.out.startsWith("sent 0 of 0 files (0 of 0 bytes), deleted 0")) << second.out.toStdString();

  const BrivaneOutcome retrieved = Brivane("b", {"retrieve"});
  EXPECT_EQ(retrieved.status, 0) << retrieved.err.toStdString();
  EXPECT_TRUE(retrieved.out.startsWith("received 4 of 4 files")) << retrieved.out.toStdString();
  for (const char* file : {"beach.jpg", "beach_tn.jpg", "Fish && Chips.jpg", "Fish && Chips_tn.jpg"}) {
    const QString here = Program("a") + "myphotos/" + file;
    const QString there = Program("b") + "myphotos/" + file;
    EXPECT_EQ(ReadAll(there), ReadAll(here)) << file;
    EXPECT_EQ(QFileInfo(there).lastModified().toSecsSinceEpoch(), QFileInfo(here).lastModified().toSecsSinceEpoch());
  }
  const BrivaneOutcome again = Brivane("b", {"retrieve"});
  EXPECT_EQ(again.status, 0) << again.err.toStdString();
  EXPECT_TRUE(again.out.contains("4 here already")) << again.out.toStdString();
}

}  // namespace
