#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include "PlayersTestSupport.h"

namespace {
struct PlayerRun {
  bool finished = false;
  QProcess::ExitStatus status = QProcess::CrashExit;
  int exitCode = -1;
  QString errors;
};

// A show's folder as the launcher leaves it: the player under its show name, the
// imaging modules beside it and the photos; the player is started there.
class PlayerProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    folder = dir.path() + QLatin1Char('/');
  }

  void CopyPlayer(const QString& program, const QString& name, bool withEffects) {
    QStringList files{"lfcmp10n.dll", "ltdis10n.dll", "ltfil10n.dll", "ltkrn10n.dll"};
    if (withEffects) files << "ltefx10n.dll";
    for (const QString& file : files)
      ASSERT_TRUE(QFile::copy(BRIVANE_PROGRAM_DIR + file, folder + file)) << file.toStdString();
    ASSERT_TRUE(QFile::copy(BRIVANE_PROGRAM_DIR + program, folder + name));
  }

  PlayerRun Start(const QString& name, const QStringList& arguments, int exitAfterMs,
            const QString& screenshot = QString()) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.remove("LD_LIBRARY_PATH");
    environment.remove("XSCREENSAVER_WINDOW");
    if (exitAfterMs >= 0)
      environment.insert("BRIVANE_PLAYER_EXIT_AFTER_MS", QString::number(exitAfterMs));
    environment.insert("BRIVANE_PLAYER_SLIDE_MS", "400");
    if (!screenshot.isEmpty()) environment.insert("BRIVANE_PLAYER_SCREENSHOT", screenshot);
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(folder);
    process.start(folder + name, arguments);
    PlayerRun run;
    run.finished = process.waitForFinished(15000);
    if (!run.finished) process.kill();
    process.waitForFinished(1000);
    run.status = process.exitStatus();
    run.exitCode = process.exitCode();
    run.errors = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
  }

  // What the dynamic loader makes of the player's needs.
  QString Resolved(const QString& name) {
    QProcess ldd;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("LD_LIBRARY_PATH");
    ldd.setProcessEnvironment(environment);
    ldd.start("ldd", {folder + name});
    ldd.waitForFinished(10000);
    return QString::fromLocal8Bit(ldd.readAllStandardOutput());
  }

  static void ExpectEndedWell(const PlayerRun& run) {
    EXPECT_TRUE(run.finished);
    EXPECT_EQ(run.status, QProcess::NormalExit);
    EXPECT_EQ(run.exitCode, 0) << run.errors.toStdString();
  }

  static QString Screenshot(const char* name) {
    QDir().mkpath(BRIVANE_SCREENSHOT_DIR);
    const QString path = QStringLiteral(BRIVANE_SCREENSHOT_DIR) + name;
    QFile::remove(path);
    return path;
  }

  QTemporaryDir dir;
  QString folder;
};
}  // namespace

TEST_F(PlayerProgram, PavonelPlaysFromACopiedFolderAndEndsWhenAsked) {
  CopyPlayer("pavonel", "pavonel.exe", false);
  ASSERT_TRUE(WriteJpegPhoto(folder + "photo0.jpg", 1600, 1000, qRgb(230, 120, 20)));
  ASSERT_TRUE(WriteJpegPhoto(folder + "photo1.jpg", 900, 1200, qRgb(20, 90, 220)));

  const QString libraries = Resolved("pavonel.exe");
  for (const char* module : {"lfcmp10n.dll", "ltdis10n.dll", "ltfil10n.dll", "ltkrn10n.dll"})
    EXPECT_TRUE(libraries.contains(QStringLiteral("%1 => %2%1").arg(module, folder)))
        << module << "\n" << libraries.toStdString();
  EXPECT_FALSE(libraries.contains("not found")) << libraries.toStdString();

  const QString screenshot = Screenshot("pavonel.png");
  ExpectEndedWell(Start("pavonel.exe", {}, 1500, screenshot));
  const QImage shown(screenshot);
  ASSERT_FALSE(shown.isNull());
  const QRgb middle = shown.pixel(shown.width() / 2, shown.height() / 2);
  EXPECT_GT(qRed(middle) + qGreen(middle) + qBlue(middle), 150);
  EXPECT_EQ(shown.pixel(0, 0) & 0xffffffu, 0u);  // black around the fitted photo
}

TEST_F(PlayerProgram, PavonelWithoutPhotosSaysSoAndEndsWhenAsked) {
  CopyPlayer("pavonel", "pavonel.exe", false);
  const QString screenshot = Screenshot("pavonel-no-photos.png");
  ExpectEndedWell(Start("pavonel.exe", {}, 300, screenshot));
  EXPECT_FALSE(QImage(screenshot).isNull());
}

TEST_F(PlayerProgram, CorilanRunsUnderTheShowsNameWithEveryScreenSaverRequest) {
  CopyPlayer("corilan", "Holiday.exe", true);
  ASSERT_TRUE(WriteJpegPhoto(folder + "photo0.jpg", 800, 600, qRgb(40, 200, 40)));
  EXPECT_FALSE(Resolved("Holiday.exe").contains("not found"));

  const QString screenshot = Screenshot("corilan.png");
  ExpectEndedWell(Start("Holiday.exe", {"/s"}, 1000, screenshot));
  const QImage shown(screenshot);
  ASSERT_FALSE(shown.isNull());
  EXPECT_GT(qGreen(shown.pixel(shown.width() / 2, shown.height() / 2)), 150);

  ExpectEndedWell(Start("Holiday.exe", {"-root"}, 300));
  ExpectEndedWell(Start("Holiday.exe", {"/c"}, 300));
  ExpectEndedWell(Start("Holiday.exe", {}, 300));
  // Requests it cannot serve end by themselves, without the test's help.
  ExpectEndedWell(Start("Holiday.exe", {"/p", "0"}, -1));
  ExpectEndedWell(Start("Holiday.exe", {"/a"}, -1));
}
