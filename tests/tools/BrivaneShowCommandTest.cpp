#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>

#include "system/RegistryStore.h"

namespace {
struct ShowOutcome {
  int status = -1;
  QString out;
  QString err;
};

// brivane show build on a fresh program folder that holds a copy of the real launcher.
class BrivaneShowCommandTest : public ::testing::Test {
 protected:
  BrivaneShowCommandTest() {
    QDir().mkpath(ProgramFolder());
    QFile::copy(QString(BRIVANE_PROGRAM_DIR) + "mirrant", ProgramFolder() + "mirrant");
  }

  QString ProgramFolder() const { return dir.path() + "/program/"; }
  QString SystemFolder() const { return dir.path() + "/system/"; }
  QString WindowsFolder() const { return dir.path() + "/windows/"; }

  ShowOutcome Brivane(const QStringList& arguments) {
    QProcess process;
    process.setWorkingDirectory(dir.path());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("BRIVANE_PROGRAM_FOLDER");
    environment.insert("BRIVANE_SYSTEM_FOLDER", SystemFolder());
    environment.insert("BRIVANE_WINDOWS_FOLDER", WindowsFolder());
    process.setProcessEnvironment(environment);
    process.start(QString(BRIVANE_PROGRAM_DIR) + "brivane",
                  QStringList({"--program-folder", ProgramFolder()}) + arguments);
    EXPECT_TRUE(process.waitForFinished(60000));
    ShowOutcome run;
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
  }

  void Import(const QString& fileName) {
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(qRgb(200, 120, 40));
    const QString path = dir.path() + "/" + fileName;
    ASSERT_TRUE(image.save(path, "JPEG"));
    ASSERT_EQ(Brivane({"import", path}).status, 0);
  }

  static qint32 PhotoCount(const QString& show) {
    QFile file(show);
    if (!file.open(QIODevice::ReadOnly) || !file.seek(file.size() - 4)) return -1;
    return qFromLittleEndian<qint32>(file.read(4).constData());
  }

  QTemporaryDir dir;
};
}  // namespace

TEST_F(BrivaneShowCommandTest, BuildsShowsOfStoredPhotosWhereTheyBelong) {
  Import("beach.jpg");
  Import("Fish & Chips.jpg");

  ShowOutcome run = Brivane({"show", "build", "--kind", "slideshow", "--name", " Trip ", "beach",
                             "Fish & Chips", "beach"});
  ASSERT_EQ(run.status, 0) << run.err.toStdString();
  EXPECT_EQ(run.out, ProgramFolder() + "Trip.exe\n");
  EXPECT_EQ(PhotoCount(ProgramFolder() + "Trip.exe"), 3);

  // A screen saver goes to the screen-saver folder, and becomes the active one on request.
  run = Brivane({"show", "build", "--kind", "screensaver", "--name", "Holiday", "beach"});
  ASSERT_EQ(run.status, 0) << run.err.toStdString();
  EXPECT_EQ(run.out, SystemFolder() + "Holiday.scr\n");
  RegistryStore registry(WindowsFolder() + "registry.ini");
  EXPECT_FALSE(registry.queryValue("Control Panel\\Desktop", "SCRNSAVE.EXE"));
  run = Brivane({"show", "build", "--kind=screensaver", "--name", "Holiday", "--folder",
                 "elsewhere", "--use-as-screensaver", "Fish & Chips"});
  ASSERT_EQ(run.status, 0) << run.err.toStdString();
  EXPECT_EQ(run.out, dir.path() + "/elsewhere/Holiday.scr\n");
  EXPECT_EQ(registry.queryValue("Control Panel\\Desktop", "SCRNSAVE.EXE"),
            dir.path() + "/elsewhere/Holiday.scr");
  EXPECT_EQ(registry.queryValue("Control Panel\\Desktop", "ScreenSaveActive"), "1");
}

TEST_F(BrivaneShowCommandTest, RefusesWhatCannotBeBuilt) {
  Import("beach.jpg");
  EXPECT_TRUE(Brivane({"show", "--help"}).out.startsWith("Usage: brivane show build"));
  EXPECT_EQ(Brivane({"show", "play", "beach"}).status, 2);
  EXPECT_EQ(Brivane({"show", "build", "--kind", "movie", "--name", "Trip", "beach"}).status, 2);
  EXPECT_EQ(Brivane({"show", "build", "--kind", "slideshow", "--name", "Trip"}).status, 2);

  ShowOutcome run =
      Brivane({"show", "build", "--kind", "slideshow", "--name", "Trip", "beach", "gone"});
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(run.err.contains("there is no photo named 'gone'")) << run.err.toStdString();
  QFile::remove(ProgramFolder() + "mirrant");
  run = Brivane({"show", "build", "--kind", "slideshow", "--name", "Trip", "beach"});
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(run.err.contains("mirrant")) << run.err.toStdString();
  EXPECT_FALSE(QFile::exists(ProgramFolder() + "Trip.exe"));
}

TEST_F(BrivaneShowCommandTest, TheToolWarnsOnceAboutARegistryItCannotUseAndLeavesIt) {
  Import("beach.jpg");
  const QString registryFile = WindowsFolder() + "registry.ini";
  const QStringList build = {
      "show", "build", "--kind", "screensaver", "--name", "Holiday", "--use-as-screensaver",
      "beach"};
  const QByteArray damaged = QByteArray("[Control Panel\\Desktop]\nScreenSaveActive=0\n") + '\0' +
                             "ScreenSaveTimeOut=600\n";
  QDir().mkpath(WindowsFolder());
  {
    QFile file(registryFile);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(damaged);
  }
  // The show is built; making it the screen saver fails, after one line on the file.
  ShowOutcome run = Brivane(build);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, SystemFolder() + "Holiday.scr\n");
  QStringList lines = run.err.split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 2) << run.err.toStdString();
  EXPECT_EQ(lines[0], "brivane: warning: " + registryFile +
                          " is not used and left as it is: it holds a NUL character");
  EXPECT_TRUE(lines[1].contains("could not be made the active one"));
  QFile file(registryFile);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), damaged);
  file.close();

  // A FIFO in its place would block an ordinary open for ever; ctest's time limit ends the
  // test then.
  ASSERT_TRUE(QFile::remove(registryFile));
  ASSERT_EQ(::mkfifo(QFile::encodeName(registryFile).constData(), 0600), 0);
  run = Brivane(build);
  EXPECT_EQ(run.status, 1);
  lines = run.err.split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 2) << run.err.toStdString();
  EXPECT_TRUE(lines[0].endsWith("it is not a regular file"));
  struct stat info {};
  ASSERT_EQ(::stat(QFile::encodeName(registryFile).constData(), &info), 0);
  EXPECT_TRUE(S_ISFIFO(info.st_mode));
}
