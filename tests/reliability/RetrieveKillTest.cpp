// Retrieved photos, killed at every write, rename, link and sync of `brivane retrieve`
// against the reference service: each photo is then there whole (its files byte for byte
// the service's) or not at all, nothing half received is listed or lies about as a
// visible file, photos.dat is the old or the new file, the settings keep the account, and
// the next retrieve brings everything.

#include <gtest/gtest.h>

#include <QFile>

#include "BrivaneRuns.h"
#include "Kill.h"
#include "KillHarness.h"
#include "fil/ltfil.h"
#include "library/PhotoEncoding.h"
#include "support/ReferenceService.h"

namespace {

// The photos brivane lists ("name<TAB>description", sorted); problem says why there are none.
QStringList Listing(const QString& folder, QString* problem) {
  const PlainRun list = RunPlain(Brivane(folder, {"list"}));
  if (list.status != 0) *problem = "brivane list failed: " + QString::fromUtf8(list.err);
  QStringList records;
  for (const QByteArray& line : list.out.split('\n')) {
    const QList<QByteArray> fields = line.split('\t');
    if (fields.size() == 3) records << QString::fromUtf8(fields[0] + '\t' + fields[2]);
  }
  records.sort();
  return records;
}

// Every visible file of My Photos is a file of the publisher's, byte for byte; a
// thumbnail may instead be one the start after a kill made again from its picture.
QString ReceivedProblem(const QString& folder, const QString& publisher) {
  for (const QString& name : VisibleFiles(PhotoFolder(folder))) {
    const QByteArray here = FileBytes(PhotoFolder(folder) + name);
    if (here == FileBytes(PhotoFolder(publisher) + name)) continue;
    const QString picture = QString(name).replace("_tn.jpg", ".jpg");
    FileInfo small, large;
    if (name.endsWith("_tn.jpg") &&
        FileBytes(PhotoFolder(folder) + picture) == FileBytes(PhotoFolder(publisher) + picture) &&
        GetImageFileInfo(PhotoFolder(folder) + name, small) == SUCCESS &&
        GetImageFileInfo(PhotoFolder(folder) + picture, large) == SUCCESS &&
        QSize(small.Width, small.Height) == ThumbnailSize(large.Width, large.Height) &&
        ReadPhotoDescription(PhotoFolder(folder) + name) ==
            ReadPhotoDescription(PhotoFolder(folder) + picture))
      continue;
    return name + " is not a file the service holds";
  }
  return {};
}

TEST_F(Kill, Retrieve) {
  ReferenceService service([] {
    ReferenceService::Options options;
    options.ftp = true;
    return options;
  }());
  ASSERT_TRUE(service.isRunning()) << service.error().toStdString();
  const QByteArray answer = service.get(
      "/register.asp?FirstName=A&LastName=B&Address1=1&Address2=&City=C&State=S&Zip=1&Country=&Phone=1&Fax=&"
      "Mobile=&Email=a%40b.com&Password=pw");
  ASSERT_TRUE(answer.startsWith("UserId=")) << answer.constData();
  const QByteArray account =
      "[Settings]\nUserId=" + answer.mid(7, 9) +
      "\nPassword=pw\nServiceHost=localhost:" + QByteArray::number(service.httpsPort()) +
      "\nServiceCAFile=" + QFile::encodeName(service.caFile()) + "\n";
  const auto makeFolder = [&](const QString& folder) {
    QDir().mkpath(folder + "config");
    QDir().mkpath(folder + "program");
    QFile settings(folder + "config/quendal.ini");
    ASSERT_TRUE(settings.open(QIODevice::WriteOnly) && settings.write(account) == account.size());
    ASSERT_TRUE(
        QFile::copy(QString(BRIVANE_PROGRAM_DIR) + "labels.dat", folder + "program/labels.dat"));
  };

  // The publisher sends three photos and an album.
  const QString publisher = Base() + "publisher/";
  makeFolder(publisher);
  for (int i = 0; i < 3; ++i)
    ASSERT_TRUE(MakePicture(publisher + QString("in/photo %1.jpg").arg(i), i));
  ASSERT_EQ(RunPlain(Brivane(publisher, {"import", "--description", "from the web",
                                         publisher + "in/photo 0.jpg", publisher + "in/photo 1.jpg",
                                         publisher + "in/photo 2.jpg"}))
                .status,
            0);
  QFile albums(publisher + "program/photos.dat");
  ASSERT_TRUE(albums.open(QIODevice::WriteOnly));
  albums.write("1\r\nTrip\r\n1\r\n8162\r\n2\r\n\r\nphoto 0\r\nphoto 2\r\n");
  albums.close();
  const PlainRun published = RunPlain(Brivane(publisher, {"publish"}));
  ASSERT_EQ(published.status, 0) << published.err.toStdString();
  QString problem;
  const QStringList everything = Listing(publisher, &problem);
  ASSERT_EQ(everything.size(), 3) << problem.toStdString();

  // A retriever with nothing yet; the reference receives everything in one run.
  const QString baseline = Base() + "baseline/";
  makeFolder(baseline);
  const QString reference = Base() + "reference/";
  ASSERT_TRUE(CopyTree(baseline, reference));
  const PlainRun whole = RunPlain(Brivane(reference, {"retrieve"}));
  ASSERT_EQ(whole.status, 0) << whole.err.toStdString();
  ASSERT_EQ(Listing(reference, &problem), everything);
  const QByteArray albumsAfter = FileBytes(reference + "program/photos.dat");
  ASSERT_FALSE(albumsAfter.isEmpty());

  const KillTally tally = RunKillPoints(
      "retrieve", {"write", "rename", "renameat2", "link", "fsync"},
      [&](const QString& folder) { ASSERT_TRUE(CopyTree(baseline, folder)); },
      [&](const QString& folder) { return Brivane(folder, {"retrieve"}); },
      [&](const QString& folder, bool) -> QString {
        QString problem;
        const QStringList found = Listing(folder, &problem);
        if (!problem.isEmpty()) return problem;
        for (const QString& record : found)
          if (!everything.contains(record)) return "listed, not on the web: " + record;
        if (VisibleFiles(PhotoFolder(folder)).size() != 2 * found.size())
          return "files that are no listed photo's: " +
                 VisibleFiles(PhotoFolder(folder)).join(", ");
        if (const QString files = ReceivedProblem(folder, publisher); !files.isEmpty())
          return files;
        const QByteArray albumsLeft = FileBytes(folder + "program/photos.dat");
        if (!albumsLeft.isEmpty() && albumsLeft != albumsAfter)
          return "photos.dat is neither missing nor the new file";
        if (!FileBytes(folder + "config/quendal.ini").contains("UserId=" + answer.mid(7, 9)))
          return "the settings lost the account";

        const PlainRun next = RunPlain(Brivane(folder, {"retrieve"}));
        if (next.status != 0) return "the next retrieve failed: " + QString::fromUtf8(next.err);
        if (const QStringList listed = Listing(folder, &problem); listed != everything)
          return "after the next retrieve (" + QString::fromUtf8(next.out + next.err).trimmed() +
                 "), the listing is " + listed.join(" | ") + problem;
        if (VisibleFiles(PhotoFolder(folder)) != VisibleFiles(PhotoFolder(reference)))
          return "after the next retrieve, the files are " +
                 VisibleFiles(PhotoFolder(folder)).join(", ");
        if (const QString files = ReceivedProblem(folder, publisher); !files.isEmpty())
          return "after the next retrieve, " + files;
        if (FileBytes(folder + "program/photos.dat") != albumsAfter)
          return "after the next retrieve, photos.dat is not the new file";
        return {};
      },
      20);
  EXPECT_GT(tally.killed, 0);
  EXPECT_EQ(tally.survived, tally.points) << tally.faults.join("\n").toStdString();
}

}  // namespace
