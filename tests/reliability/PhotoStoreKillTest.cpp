// The photo pair (picture and thumbnail in myphotos/) and the albums that follow a photo,
// killed at every write, rename, link, unlink and sync of `brivane import`, `describe`,
// `rename` and `delete`. Afterwards the next start (`brivane list`, which finishes what a
// kill left half done) must list exactly the old photos or exactly the new ones, each
// listed photo's picture must be the old or the new file of the same state, byte for
// byte, its thumbnail that state's too (or one made again from that picture), no other
// file may be listed in the folder, photos.dat must be the old or the new file, and the
// next run of the same command must bring the new state.

#include <gtest/gtest.h>

#include <QDir>
#include <QMap>
#include <QTemporaryDir>
#include <cstdio>

#include "BrivaneRuns.h"
#include "Kill.h"
#include "KillHarness.h"
#include "fil/ltfil.h"
#include "krn/ltkrn.h"
#include "library/PhotoEncoding.h"

namespace {

struct StoreState {
  QStringList records;              // "name<TAB>description", sorted
  QMap<QString, QByteArray> files;  // every file of myphotos/ but the hidden ones
  QByteArray albums;
};

// The state as the next start of brivane finds it; problem says why there is none.
StoreState Capture(const QString& folder, QString* problem) {
  StoreState state;
  const PlainRun list = RunPlain(Brivane(folder, {"list"}));
  if (list.status != 0) {
    *problem = "brivane list failed: " + QString::fromUtf8(list.err);
    return state;
  }
  for (const QByteArray& line : list.out.split('\n')) {
    const QList<QByteArray> fields = line.split('\t');
    if (fields.size() == 3) state.records << QString::fromUtf8(fields[0] + '\t' + fields[2]);
  }
  state.records.sort();
  for (const QString& name : VisibleFiles(PhotoFolder(folder)))
    state.files[name] = FileBytes(PhotoFolder(folder) + name);
  state.albums = FileBytes(folder + "program/photos.dat");
  return state;
}

// A thumbnail made again from its picture by the start after a kill: the thumbnail size
// of the picture and the picture's description.
bool IsRemadeThumbnail(const QString& thumbnail, const QString& picture) {
  FileInfo small, large;
  if (GetImageFileInfo(thumbnail, small) != SUCCESS || GetImageFileInfo(picture, large) != SUCCESS)
    return false;
  return QSize(small.Width, small.Height) == ThumbnailSize(large.Width, large.Height) &&
         ReadPhotoDescription(thumbnail) == ReadPhotoDescription(picture);
}

// What differs between the files found and those of the expected state.
QString FileProblem(const QString& folder, const StoreState& found, const StoreState& expected,
                    bool bytesToo) {
  if (found.files.keys() != expected.files.keys())
    return "files " + QStringList(found.files.keys()).join(", ") + " instead of " +
           QStringList(expected.files.keys()).join(", ");
  for (auto it = found.files.cbegin(); it != found.files.cend() && bytesToo; ++it) {
    if (it.value() == expected.files.value(it.key())) continue;
    const QString name = it.key();
    const QString picture = QString(name).replace("_tn.jpg", ".jpg");
    if (name.endsWith("_tn.jpg") && found.files.value(picture) == expected.files.value(picture) &&
        IsRemadeThumbnail(PhotoFolder(folder) + name, PhotoFolder(folder) + picture))
      continue;
    return name + " is not the file of the state the listing shows";
  }
  return {};
}

// "@in/" at the start of an argument is the folder's input pictures.
QStringList Arguments(const QString& folder, QStringList arguments) {
  for (QString& argument : arguments)
    if (argument.startsWith("@in/")) argument = folder + argument.mid(1);
  return arguments;
}

// Two photos, one of them in an album, and the pictures to import.
void MakeStore(const QString& baseline) {
  ASSERT_TRUE(QDir().mkpath(baseline + "program"));
  ASSERT_TRUE(MakePicture(baseline + "in/beach.jpg", 1));
  ASSERT_TRUE(MakePicture(baseline + "in/harbour.jpg", 2));
  ASSERT_TRUE(MakePicture(baseline + "in/sea.jpg", 3));
  for (const auto& [picture, description] :
       {std::pair{"beach", "old words"}, {"harbour", "the harbour"}}) {
    const PlainRun run = RunPlain(Brivane(
        baseline, {"import", "--description", description, baseline + "in/" + picture + ".jpg"}));
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
  }
  QFile albums(baseline + "program/photos.dat");
  ASSERT_TRUE(albums.open(QIODevice::WriteOnly));
  albums.write("1\r\nTrip\r\n1\r\n8162\r\n2\r\n\r\nbeach\r\nharbour\r\n");
}

// Kills the command at every point and checks what each kill left.
void KillStoreCommand(const QString& base, const char* writer, const QStringList& arguments) {
  const QString baseline = base + "baseline/";
  MakeStore(baseline);
  if (::testing::Test::HasFatalFailure()) return;
  QString problem;
  const StoreState before = Capture(baseline, &problem);
  ASSERT_TRUE(problem.isEmpty()) << problem.toStdString();
  const QString reference = base + "reference/";
  ASSERT_TRUE(CopyTree(baseline, reference));
  const PlainRun run = RunPlain(Brivane(reference, Arguments(reference, arguments)));
  ASSERT_EQ(run.status, 0) << run.err.toStdString();
  const StoreState after = Capture(reference, &problem);
  ASSERT_TRUE(problem.isEmpty()) << problem.toStdString();
  ASSERT_NE(before.records, after.records);

  int albumsBehind = 0;
  const KillTally tally = RunKillPoints(
      writer, {"write", "rename", "renameat2", "link", "unlink", "fsync"},
      [&](const QString& folder) { ASSERT_TRUE(CopyTree(baseline, folder)); },
      [&](const QString& folder) { return Brivane(folder, Arguments(folder, arguments)); },
      [&](const QString& folder, bool) -> QString {
        QString problem;
        const StoreState found = Capture(folder, &problem);
        if (!problem.isEmpty()) return problem;
        const bool old = found.records == before.records;
        if (!old && found.records != after.records)
          return "the listing is neither the old nor the new one: " + found.records.join(" | ");
        if (const QString files = FileProblem(folder, found, old ? before : after, true);
            !files.isEmpty())
          return (old ? "old listing, " : "new listing, ") + files;
        if (found.albums != before.albums && found.albums != after.albums)
          return "photos.dat is neither the old nor the new file";
        // The albums follow the store in a write of their own, after it.
        if (!old && found.albums != after.albums) ++albumsBehind;

        const PlainRun next = RunPlain(Brivane(folder, Arguments(folder, arguments)));
        if (old && next.status != 0) return "the next run failed: " + QString::fromUtf8(next.err);
        const StoreState end = Capture(folder, &problem);
        if (!problem.isEmpty()) return "after the next run, " + problem;
        if (end.records != after.records)
          return "after the next run, the listing is " + end.records.join(" | ");
        // Run again on the new state, a command may change what it changed already (a
        // description stored again is encoded again): then only which files are there counts.
        if (const QString files = FileProblem(folder, end, after, old); !files.isEmpty())
          return "after the next run, " + files;
        if (old && end.albums != after.albums)
          return "after the next run, photos.dat is not the new file";
        return {};
      });
  if (albumsBehind > 0)
    std::printf("[kill] %s: %d kills left the new photos with the old photos.dat\n", writer,
                albumsBehind);
  EXPECT_GT(tally.killed, 0);
  EXPECT_EQ(tally.survived, tally.points) << tally.faults.join("\n").toStdString();
}

TEST_F(Kill, Import) {
  KillStoreCommand(Base(), "import", {"import", "--description", "new words", "@in/sea.jpg"});
}
TEST_F(Kill, Describe) { KillStoreCommand(Base(), "describe", {"describe", "beach", "new words"}); }
TEST_F(Kill, Rename) { KillStoreCommand(Base(), "rename", {"rename", "beach", "Sandy beach"}); }
TEST_F(Kill, Delete) { KillStoreCommand(Base(), "delete", {"delete", "beach"}); }

}  // namespace
