// A built show, killed at every write, copy, open, sync and rename of `brivane show build` that
// rebuilds it with another photo: the show must be the old file or the new one, byte for
// byte, alone in its folder, and the next build must work.

#include <gtest/gtest.h>

#include <QFile>

#include "BrivaneRuns.h"
#include "Kill.h"
#include "KillHarness.h"

namespace {

QStringList BuildShow(const QString& folder, const QStringList& photos) {
  return QStringList{"show",   "build", "--kind",   "slideshow",
                     "--name", "Trip",  "--folder", folder + "shows"} +
         photos;
}

TEST_F(Kill, Show) {
  const QString baseline = Base() + "baseline/";
  ASSERT_TRUE(QDir().mkpath(baseline + "program"));
  ASSERT_TRUE(MakePicture(baseline + "in/beach.jpg", 1));
  ASSERT_TRUE(MakePicture(baseline + "in/harbour.jpg", 2));
  ASSERT_EQ(RunPlain(Brivane(baseline,
                             {"import", baseline + "in/beach.jpg", baseline + "in/harbour.jpg"}))
                .status,
            0);
  // The show carries the launcher, the player and the modules of the program folder.
  for (const char* piece :
       {"mirrant", "pavonel", "lfcmp10n.dll", "ltdis10n.dll", "ltfil10n.dll", "ltkrn10n.dll"})
    ASSERT_TRUE(QFile::link(QString(BRIVANE_PROGRAM_DIR) + piece, baseline + "program/" + piece))
        << piece;
  const PlainRun first = RunPlain(Brivane(baseline, BuildShow(baseline, {"beach"})));
  ASSERT_EQ(first.status, 0) << first.err.toStdString();
  const QByteArray before = FileBytes(baseline + "shows/Trip.exe");
  const QString reference = Base() + "reference/";
  ASSERT_TRUE(CopyTree(baseline, reference));
  ASSERT_EQ(RunPlain(Brivane(reference, BuildShow(reference, {"beach", "harbour"}))).status, 0);
  const QByteArray after = FileBytes(reference + "shows/Trip.exe");
  ASSERT_GT(before.size(), 100000);
  ASSERT_NE(before, after);

  const KillTally tally = RunKillPoints(
      "show", {"write", "copy_file_range", "openat", "fsync", "rename"},
      [&](const QString& folder) { ASSERT_TRUE(CopyTree(baseline, folder)); },
      [&](const QString& folder) {
        return Brivane(folder, BuildShow(folder, {"beach", "harbour"}));
      },
      [&](const QString& folder, bool) -> QString {
        const QByteArray left = FileBytes(folder + "shows/Trip.exe");
        if (left != before && left != after)
          return QString("the show is neither the old nor the new file (%1 bytes)")
              .arg(left.size());
        if (VisibleFiles(folder + "shows") != QStringList{"Trip.exe"})
          return "files beside it: " + VisibleFiles(folder + "shows").join(", ");
        const PlainRun next = RunPlain(Brivane(folder, BuildShow(folder, {"beach", "harbour"})));
        if (next.status != 0) return "the next build failed: " + QString::fromUtf8(next.err);
        if (FileBytes(folder + "shows/Trip.exe") != after)
          return "the next build did not write the new show";
        return {};
      });
  EXPECT_GT(tally.killed, 0);
  EXPECT_EQ(tally.survived, tally.points) << tally.faults.join("\n").toStdString();
}

}  // namespace
