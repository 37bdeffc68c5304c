// The decompression bombs a fuzzing campaign found, given to `brivane info` and `brivane
// import` as a user would: each is refused with a message that says why, the process stays
// small, and nothing is left behind in $TMPDIR.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <vector>

#include "support/BombFiles.h"
#include "support/ChildProcess.h"

namespace {
// Far below what decoding any of them would take (gigabytes), far above the program's own.
constexpr long kPeakKilobytesAllowed = 200 * 1024;

struct Bomb {
  const char* Name;
  QByteArray Bytes;
  QString Reason;  // the sentence the user is given
};

std::vector<Bomb> Bombs() {
  const QString tooLarge = QStringLiteral("The picture is too large: %1 \u00D7 %2");
  // A few rows of a bilevel 30000 x 30000 picture: deflate cannot pack the rest into it.
  const QByteArray someRows(32 * (30000 / 8 + 1), '\0');
  return {
      {"deflate.png", PngFile(30000, 30000, 1, someRows),
       QStringLiteral("The picture file is damaged or cut short.")},
      {"arithmetic.jpg", FlatJpegFile(true, 16, 16, 30000, 30000), tooLarge.arg(30000).arg(30000)},
      {"paint.msp", MspPackedFile(65535, std::vector<quint16>(65535, 0)),
       tooLarge.arg(65535).arg(65535)},
      {"gem.img", GemImgFile(65535, 65535, 65535), tooLarge.arg(65535).arg(65535)},
  };
}

class BrivaneBombTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(work.isValid());
    ASSERT_TRUE(tmp.isValid());
    ASSERT_TRUE(QDir().mkpath(work.filePath("program")));
  }

  // One run of brivane with its own $TMPDIR; the run's peak memory is checked here.
  void Run(ChildProcess& brivane, const QStringList& arguments) {
    ASSERT_TRUE(brivane.start(QString(BRIVANE_PROGRAM_DIR) + "brivane",
                              QStringList{"--program-folder", work.filePath("program")} + arguments,
                              {"TMPDIR=" + tmp.path()}));
    brivane.wait();
    EXPECT_LT(brivane.peakKilobytes(), kPeakKilobytesAllowed);
    EXPECT_TRUE(QDir(tmp.path()).isEmpty())
        << QDir(tmp.path()).entryList().join(", ").toStdString();
  }

  QString Write(const Bomb& bomb) {
    const QString path = work.filePath(bomb.Name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bomb.Bytes);
    return path;
  }

  QTemporaryDir work;
  QTemporaryDir tmp;
};
}  // namespace

TEST_F(BrivaneBombTest, InfoRefusesEachBombFromItsHeader) {
  for (const Bomb& bomb : Bombs()) {
    SCOPED_TRACE(std::string(bomb.Name) + ", " + std::to_string(bomb.Bytes.size()) + " bytes");
    ChildProcess brivane;
    Run(brivane, {"info", Write(bomb)});
    EXPECT_EQ(brivane.exitCode(), 1);
    const QString error = QString::fromUtf8(brivane.standardError());
    EXPECT_TRUE(error.contains("(" + bomb.Reason + ")")) << error.toStdString();
  }
}

TEST_F(BrivaneBombTest, ImportSkipsEachBombAndStoresNothing) {
  for (const Bomb& bomb : Bombs()) {
    SCOPED_TRACE(std::string(bomb.Name) + ", " + std::to_string(bomb.Bytes.size()) + " bytes");
    ChildProcess brivane;
    const QString file = Write(bomb);
    Run(brivane, {"import", file});
    EXPECT_EQ(brivane.exitCode(), 1);
    const QString error = QString::fromUtf8(brivane.standardError());
    EXPECT_TRUE(error.contains("skipped " + file + ": " + bomb.Reason)) << error.toStdString();
    EXPECT_TRUE(QDir(work.filePath("program/myphotos")).isEmpty());
  }
}
