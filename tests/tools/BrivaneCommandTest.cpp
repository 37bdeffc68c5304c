#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace {
struct Outcome {
  int status = -1;
  QString out;
  QString err;
};

// One brivane session on a fresh program folder, run as a user's shell would run it.
class BrivaneCommandTest : public ::testing::Test {
 protected:
  BrivaneCommandTest() { QDir().mkpath(Inputs()); }

  QString ProgramFolder() const { return dir.path() + "/program/"; }
  QString Inputs() const { return dir.path() + "/in/"; }
  QString MyPhotos() const { return ProgramFolder() + "myphotos/"; }

  Outcome Brivane(const QStringList& arguments, bool withFolder = true) {
    QProcess process;
    process.setWorkingDirectory(dir.path());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("BRIVANE_PROGRAM_FOLDER");
    process.setProcessEnvironment(environment);
    QStringList all = arguments;
    if (withFolder) all = QStringList({"--program-folder", ProgramFolder()}) + arguments;
    process.start(QString(BRIVANE_PROGRAM_DIR) + "brivane", all);
    EXPECT_TRUE(process.waitForFinished(60000));
    Outcome run;
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
  }

  QString Picture(const QString& fileName, int width = 200, int height = 150) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) image.setPixel(x, y, qRgb(x % 256, y % 256, 90));
    const QString path = Inputs() + fileName;
    const QByteArray format = fileName.endsWith(".bmp") ? "BMP" : "JPEG";
    EXPECT_TRUE(image.save(path, format.constData()));
    return path;
  }

  QStringList ListedNames() {
    QStringList names;
    for (const QString& line : Brivane({"list"}).out.split('\n', Qt::SkipEmptyParts))
      names << line.section('\t', 0, 0);
    return names;
  }

  QTemporaryDir dir;
};
}  // namespace

TEST_F(BrivaneCommandTest, ASessionImportsListsDescribesRenamesExportsAndDeletes) {
  ASSERT_TRUE(QDir().mkpath(ProgramFolder()));
  QFile notes(Inputs() + "notes.txt");
  ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
  notes.close();

  Outcome run = Brivane({"import", "--description", "Summer", Picture("beach.jpg"),
                         Picture("Fish & Chips.bmp", 300, 100), notes.fileName(), Picture("photo.jpeg")});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "beach\nFish & Chips\n");
  EXPECT_TRUE(run.err.contains("[1/4] " + Inputs() + "beach.jpg")) << run.err.toStdString();
  EXPECT_TRUE(run.err.contains("skipped " + notes.fileName()));
  EXPECT_TRUE(run.err.contains("skipped " + Inputs() + "photo.jpeg"));
  EXPECT_TRUE(run.err.trimmed().endsWith("2 of 4 files were not imported"));
  EXPECT_TRUE(QFile::exists(MyPhotos() + "Fish && Chips_tn.jpg"));

  // The same name again: skipped unless asked to replace or renumber.
  const QString again = Picture("beach.jpg", 120, 120);
  run = Brivane({"import", again});
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(run.err.contains("already stored")) << run.err.toStdString();
  run = Brivane({"import", "--rename", again});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "beach (2)\n");
  EXPECT_EQ(Brivane({"import", "--replace", again}).status, 0);

  run = Brivane({"list"});
  const QStringList lines = run.out.split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 3);
  // Newest first: the replaced beach, without a description.
  EXPECT_TRUE(lines[0].contains(QRegularExpression(R"(^beach\t\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\t$)")));
  EXPECT_TRUE(run.out.contains("Fish & Chips\t"));

  EXPECT_EQ(Brivane({"describe", "Fish & Chips", "Line one\nwith a\ttab"}).status, 0);
  EXPECT_TRUE(Brivane({"list"}).out.contains("\tLine one\\nwith a\\ttab\n"));
  EXPECT_EQ(Brivane({"describe", "Fish & Chips", QString(256, 'x')}).status, 2);

  run = Brivane({"rename", "beach (2)", "Fish"});
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(run.err.contains("You already have a photo named 'Fish'.  Please type a different name."));
  EXPECT_EQ(Brivane({"rename", "beach (2)", "../outside"}).status, 1);
  EXPECT_EQ(Brivane({"rename", "beach (2)", "Sunset"}).status, 0);
  EXPECT_TRUE(ListedNames().contains("Sunset"));

  // Export: the format from the extension, ".jpg" when there is none.
  run = Brivane({"export", "Sunset", "out"});
  EXPECT_EQ(run.status, 0) << run.err.toStdString();
  run = Brivane({"info", dir.path() + "/out.jpg"});
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(run.out.contains("bits per pixel: 24"));
  EXPECT_TRUE(run.out.contains("size: 120 x 120"));
  EXPECT_EQ(Brivane({"export", "Sunset", "out"}).status, 1);  // exists
  EXPECT_EQ(Brivane({"export", "--force", "Sunset", "out"}).status, 0);
  EXPECT_EQ(Brivane({"export", "Fish & Chips", "chips.gif"}).status, 0);
  run = Brivane({"info", dir.path() + "/chips.gif"});
  EXPECT_TRUE(run.out.contains("bits per pixel: 8")) << run.out.toStdString();
  EXPECT_TRUE(run.out.contains("size: 300 x 100"));
  run = Brivane({"export", "Sunset", "odd.xyz"});
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(run.err.contains("ERROR_")) << run.err.toStdString();
  EXPECT_FALSE(QFile::exists(dir.path() + "/odd.xyz"));

  run = Brivane({"info", MyPhotos() + "Fish && Chips.jpg"});
  EXPECT_TRUE(run.out.contains("description: Line one\\nwith a\\ttab"));
  EXPECT_EQ(Brivane({"info", notes.fileName()}).status, 1);

  EXPECT_EQ(Brivane({"delete", "Sunset"}).status, 0);
  run = Brivane({"delete", "Sunset"});
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(run.err.contains("there is no photo named 'Sunset'"));
  QStringList left = ListedNames();
  left.sort(Qt::CaseInsensitive);
  EXPECT_EQ(left, QStringList({"beach", "Fish & Chips"}));
}

TEST_F(BrivaneCommandTest, HelpUsageErrorsAndTheProgramFolder) {
  for (const QString command : {"import", "list", "describe", "rename", "delete", "export", "info"})
    EXPECT_TRUE(Brivane({command, "--help"}, false).out.startsWith("Usage: brivane " + command));
  // The tool's own usage: asked for on standard output, for a missing command on standard error.
  for (const QString help : {"--help", "-h"}) {
    const Outcome asked = Brivane({help}, false);
    EXPECT_EQ(asked.status, 0);
    EXPECT_TRUE(asked.out.startsWith("Usage: brivane [--program-folder DIR] COMMAND"))
        << asked.out.toStdString();
    EXPECT_TRUE(asked.out.contains("show build PHOTO..."));
    EXPECT_TRUE(asked.err.isEmpty());
  }
  const Outcome bare = Brivane({}, false);
  EXPECT_EQ(bare.status, 2);
  EXPECT_TRUE(bare.out.isEmpty());
  EXPECT_TRUE(bare.err.startsWith("Usage: brivane [--program-folder DIR] COMMAND"))
      << bare.err.toStdString();
  EXPECT_EQ(Brivane({"import", "--replace", "--rename", "x.jpg"}).status, 2);
  // A missing program folder is an error, not a folder made up on the spot.
  Outcome run = Brivane({"list"});
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(run.err.contains("does not exist"));
  EXPECT_FALSE(QFile::exists(ProgramFolder()));

  // Without the option the environment names it, as for the program.
  ASSERT_TRUE(QDir().mkpath(ProgramFolder()));
  EXPECT_EQ(Brivane({"import", Picture("one.jpg")}).status, 0);
  QProcess process;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("BRIVANE_PROGRAM_FOLDER", ProgramFolder());
  process.setProcessEnvironment(environment);
  process.start(QString(BRIVANE_PROGRAM_DIR) + "brivane", {"list"});
  ASSERT_TRUE(process.waitForFinished(60000));
  EXPECT_TRUE(process.readAllStandardOutput().startsWith("one\t"));
}
