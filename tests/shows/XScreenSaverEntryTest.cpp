// A built screen saver in the user's ~/.xscreensaver: added to what is there, selected,
// and started by the shell as written.

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "shows/XScreenSaverEntry.h"
#include "support/FileBytes.h"

namespace {

// The shape xscreensaver writes its file in.
const QByteArray kExisting =
    "# XScreenSaver Preferences File\n"
    "timeout:\t\t0:10:00\n"
    "mode:\t\trandom\n"
    "selected:\t1\n"
    "programs:\t\t\t\t\t\t\t\t      \\\n"
    "\t\t\t\tmaze -root\t\t\t\t    \\n\\\n"
    "  GL: \t\t\t\tsuperquadrics -root\t\t\t    \\n\\\n"
    "- \t\t\t\txmountains -b -M -Z 0 -r 1\t\t    \\n\\\n"
    "\n"
    "pointerHysteresis:\t10\n";

// The entry lines of the programs resource, trimmed.
QList<QByteArray> Programs(const QByteArray& text) {
  const qsizetype begin = text.indexOf("programs:");
  QList<QByteArray> entries;
  for (qsizetype at = text.indexOf('\n', begin) + 1; at > 0 && at < text.size();) {
    const qsizetype end = text.indexOf('\n', at);
    QByteArray line = text.mid(at, end - at).trimmed();
    at = end + 1;
    const bool more = line.endsWith('\\');
    if (more) line.chop(1);
    line = line.trimmed();
    if (line.endsWith("\\n")) line.chop(2);
    if (!line.trimmed().isEmpty()) entries << line.trimmed();
    if (!more) break;
  }
  return entries;
}

TEST(XScreenSaverEntry, IsAddedSelectedAndKeepsTheRest) {
  const QByteArray added = WithXScreenSaverEntry(kExisting, "Holiday \"2026\"", "/home/ann/Holiday.scr");
  const QList<QByteArray> programs = Programs(added);
  ASSERT_EQ(programs.size(), 4) << added.constData();
  EXPECT_EQ(programs[0], "maze -root");
  EXPECT_EQ(programs[2], "- \t\t\t\txmountains -b -M -Z 0 -r 1");
  EXPECT_EQ(programs[3], "\"Holiday  2026 \"  '/home/ann/Holiday.scr' -root");
  EXPECT_TRUE(added.contains("\nselected:\t\t3\n"));
  EXPECT_TRUE(added.contains("\nmode:\t\tone\n"));
  EXPECT_TRUE(added.contains("timeout:\t\t0:10:00\n"));
  EXPECT_TRUE(added.endsWith("pointerHysteresis:\t10\n"));
  // Built again: selected again, not added twice.
  const QByteArray again = WithXScreenSaverEntry(added, "Holiday", "/home/ann/Holiday.scr");
  EXPECT_EQ(Programs(again).size(), 4);
  EXPECT_TRUE(again.contains("\nselected:\t\t3\n"));
  // A first file holds just the screen saver.
  const QByteArray first = WithXScreenSaverEntry({}, "Holiday", "/home/ann/Holiday.scr");
  EXPECT_EQ(Programs(first), QList<QByteArray>{"\"Holiday\"  '/home/ann/Holiday.scr' -root"});
  EXPECT_TRUE(first.contains("selected:\t\t0\n"));
}

TEST(XScreenSaverEntry, TheShellStartsTheProgramWhateverItsPathHolds) {
  QTemporaryDir folder;
  // A path with a blank, a quote and a shell's special characters.
  const QString program = folder.path() + "/Ann's $(saver) `x`.scr";
  const QString record = folder.path() + "/arguments";
  WriteRaw(program, "#!/bin/sh\necho \"$0|$*\" > '" + record.toUtf8() + "'\n");
  QFile(program).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  const QString file = folder.path() + "/.xscreensaver";
  QString error;
  ASSERT_TRUE(AddXScreenSaverEntry(file, "Ann's", program, &error)) << error.toStdString();
  const QByteArray entry = Programs(ReadAll(file)).value(0);
  const QByteArray command = entry.mid(entry.indexOf("  ") + 2);
  EXPECT_EQ(QProcess::execute("/bin/sh", {"-c", QString::fromUtf8(command)}), 0);
  EXPECT_EQ(ReadAll(record), program.toUtf8() + "|-root\n");
}

}  // namespace
