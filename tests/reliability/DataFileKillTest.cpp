// The data files that the program rewrites in place (settings, registry, address book,
// albums) and the one it appends to (the deleted albums), each killed at every write,
// open, sync and rename of its writer: the file must be the old one or the new one, byte
// for byte, with no other file beside it, and the next run of the writer must work.

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "Kill.h"
#include "KillHarness.h"

namespace {

KillCommand Driver(const QString& kind, const QString& folder, const char* variant) {
  return {KILL_WRITER_DRIVER, {kind, folder, variant}, {}, folder};
}

// The file's bytes after the given runs of the writer on an empty folder.
QByteArray After(const QString& kind, const QString& file, const QList<const char*>& variants) {
  QTemporaryDir folder;
  for (const char* variant : variants)
    EXPECT_EQ(RunPlain(Driver(kind, folder.path() + "/", variant)).status, 0) << variant;
  return FileBytes(folder.path() + "/" + file);
}

void KillWriter(const QString& kind, const QString& file) {
  const QByteArray before = After(kind, file, {"old"});
  const QByteArray after = After(kind, file, {"old", "new"});
  // A writer that appends does not end where it did when it runs twice.
  const QByteArray twice = After(kind, file, {"old", "new", "new"});
  ASSERT_FALSE(before.isEmpty());
  ASSERT_NE(before, after);

  const KillTally tally = RunKillPoints(
      qPrintable(file), {"write", "openat", "fsync", "rename"},
      [&](const QString& folder) { ASSERT_EQ(RunPlain(Driver(kind, folder, "old")).status, 0); },
      [&](const QString& folder) { return Driver(kind, folder, "new"); },
      [&](const QString& folder, bool) -> QString {
        const QByteArray left = FileBytes(folder + file);
        if (left != before && left != after)
          return QString("%1 is neither the old nor the new file (%2 bytes)")
              .arg(file)
              .arg(left.size());
        if (VisibleFiles(folder) != QStringList{file})
          return "files beside it: " + VisibleFiles(folder).join(", ");
        const PlainRun next = RunPlain(Driver(kind, folder, "new"));
        if (next.status != 0) return "the next run failed: " + QString::fromUtf8(next.err);
        if (FileBytes(folder + file) != (left == before ? after : twice))
          return "the next run did not write the new file";
        return {};
      });
  EXPECT_GT(tally.killed, 0);
  EXPECT_EQ(tally.survived, tally.points) << tally.faults.join("\n").toStdString();
}

TEST_F(Kill, Settings) { KillWriter("settings", "quendal.ini"); }
TEST_F(Kill, Registry) { KillWriter("registry", "registry.ini"); }
TEST_F(Kill, AddressBook) { KillWriter("addressbook", "addrbook.dat"); }
TEST_F(Kill, Albums) { KillWriter("albums", "photos.dat"); }
TEST_F(Kill, DeletedAlbums) { KillWriter("deletedalbums", "deletealbums.dat"); }

}  // namespace
