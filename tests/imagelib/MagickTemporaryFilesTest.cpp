// Magick's temporary files (here the disk cache of a picture decoded with almost no
// memory allowed) live in a private folder that goes with the process, however it ends.
#include <gtest/gtest.h>

#include <signal.h>

#include <QDir>
#include <QTemporaryDir>

#include "fil/ltfil.h"
#include "support/ChildProcess.h"

namespace {
class MagickTemporaryFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(tmp.isValid());
    ImageBitmap noise;
    ASSERT_EQ(CreateBitmap(noise, 1, 1200, 900, 24, ColorOrder::Bgr, nullptr, TopLeft), SUCCESS);
    for (int y = 0; y < 900; ++y)
      for (int x = 0; x < 1200; ++x)
        noise.Pixels.setPixel(x, y, qRgb(x * 7 % 256, y * 3 % 256, (x ^ y) % 256));
    picture = inputs.filePath("noise.png");
    ASSERT_EQ(SaveImageFile(picture, noise, FILE_PNG, 24, 2), SUCCESS);
  }

  // The probe decodes with its own $TMPDIR and Magick's pixel cache forced onto disk.
  bool Start(ChildProcess& probe, const char* mode) {
    return probe.start(
        MAGICK_DECODE_PROBE, {mode, picture},
        {"TMPDIR=" + tmp.path(), "MAGICK_MEMORY_LIMIT=1MiB", "MAGICK_MAP_LIMIT=1MiB"});
  }

  // Files in Magick's folders under the probe's $TMPDIR.
  QStringList MagickFiles() const {
    QStringList files;
    for (const QString& folder : QDir(tmp.path()).entryList({"brivane-magick-*"}, QDir::Dirs))
      for (const QString& name : QDir(tmp.path() + "/" + folder).entryList(QDir::Files))
        files << folder + "/" + name;
    return files;
  }
  bool TmpIsEmpty() const {
    return QDir(tmp.path())
        .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)
        .isEmpty();
  }

  QTemporaryDir tmp;
  QTemporaryDir inputs;
  QString picture;
};
}  // namespace

TEST_F(MagickTemporaryFiles, AnInterruptedDecodeLeavesNothingBehind) {
  ChildProcess probe;
  ASSERT_TRUE(Start(probe, "stop"));
  ASSERT_EQ(probe.readLine(), "decoding") << probe.standardError().toStdString();
  EXPECT_FALSE(MagickFiles().isEmpty()) << "the pixel cache should be on disk";
  ::kill(probe.pid(), SIGINT);
  probe.wait();
  EXPECT_TRUE(probe.killedBySignal());
  EXPECT_EQ(probe.signal(), SIGINT);
  EXPECT_TRUE(TmpIsEmpty()) << MagickFiles().join(", ").toStdString();
}

TEST_F(MagickTemporaryFiles, AFinishedDecodeLeavesNothingBehind) {
  ChildProcess probe;
  ASSERT_TRUE(Start(probe, "finish"));
  probe.wait();
  EXPECT_EQ(probe.exitCode(), 0) << probe.standardError().toStdString();
  EXPECT_TRUE(TmpIsEmpty());
}
