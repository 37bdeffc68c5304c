#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include "LimitedBrivaneRun.h"
#include "support/FileBytes.h"

namespace {
QByteArray Lines(const QStringList& lines) {
  QByteArray bytes;
  for (const QString& line : lines) bytes += line.toUtf8() + "\r\n";
  return bytes;
}

// brivane rename and delete on a program folder whose photos.dat names the photos.
class BrivaneAlbumsTest : public ::testing::Test {
 protected:
  BrivaneAlbumsTest() {
    QDir().mkpath(ProgramFolder());
    QFile::copy(QString(BRIVANE_PROGRAM_DIR) + "labels.dat", ProgramFolder() + "labels.dat");
  }

  QString ProgramFolder() const { return dir.path() + "/program/"; }
  QString Albums() const { return ProgramFolder() + "photos.dat"; }

  // The tool, through a shell that may first limit what the run may do.
  int Brivane(const QStringList& arguments, QString* err = nullptr, const QString& limits = {}) {
    const BrivaneOutcome run = RunLimitedBrivane(dir.path(), ProgramFolder(), arguments, limits);
    if (err) *err = run.err;
    return run.status;
  }

  void Import(const QString& name) {
    QImage image(80, 60, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    const QString file = dir.path() + "/" + name + ".jpg";
    ASSERT_TRUE(image.save(file, "JPEG"));
    ASSERT_EQ(Brivane({"import", file}), 0) << name.toStdString();
  }

  QTemporaryDir dir;
};
}  // namespace

TEST_F(BrivaneAlbumsTest, RenamedAndDeletedPhotosFollowInPhotosDat) {
  Import("beach");
  Import("Fish & Chips");
  // Places hold stems; a page of a code labels.dat lacks is updated and kept as well.
  const auto albums = [](const QString& beach, const QString& fish) {
    QStringList lines = {"2",   "Trip",  "2",    "C2166",
                         "3",   "",      beach,  "beach (2)",
                         fish,  "Z9999", "1",    "http://albums.example.com/%s/1.html",
                         beach, "Other", "20000"};
    // Far larger than a photo, for a run whose file size limit stops only photos.dat.
    for (int page = 0; page < 20000; ++page)
      lines << "C2242"
            << "0"
            << "";
    return Lines(lines);
  };
  WriteRaw(Albums(), albums("beach", "Fish && Chips"));

  EXPECT_EQ(Brivane({"rename", "beach", "Coast"}), 0);
  EXPECT_EQ(ReadAll(Albums()), albums("Coast", "Fish && Chips"));
  EXPECT_EQ(Brivane({"delete", "Fish & Chips"}), 0);
  EXPECT_EQ(ReadAll(Albums()), albums("Coast", ""));

  // photos.dat cannot be written: the photo is renamed all the same, with a warning.
  QString err;
  EXPECT_EQ(Brivane({"rename", "Coast", "Shore"}, &err, "trap '' XFSZ; ulimit -f 64;"), 0);
  EXPECT_TRUE(err.contains("warning: cannot update the albums")) << err.toStdString();
  EXPECT_EQ(ReadAll(Albums()), albums("Coast", ""));
  EXPECT_TRUE(QFile::exists(ProgramFolder() + "myphotos/Shore.jpg"));

  // Without photos.dat nothing is made.
  QFile::remove(Albums());
  EXPECT_EQ(Brivane({"delete", "Shore"}, &err), 0) << err.toStdString();
  EXPECT_FALSE(QFile::exists(Albums()));
}
