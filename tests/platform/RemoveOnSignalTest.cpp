// Paths removed when a signal stops the process: each case runs a probe that registers
// the paths, then stops it as a user or the system would.
#include <gtest/gtest.h>

#include <signal.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <vector>

#include "support/ChildProcess.h"
#include "system/RemoveOnSignal.h"

namespace {
class RemoveOnSignalTest : public ::testing::Test {
 protected:
  // A file beside a folder holding two files (one hidden).
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    file = dir.filePath("scratch.tmp");
    folder = dir.filePath("cache");
    ASSERT_TRUE(QDir().mkpath(folder));
    for (const QString& path : {file, folder + "/a.cache", folder + "/.b"}) {
      QFile out(path);
      ASSERT_TRUE(out.open(QIODevice::WriteOnly));
      out.write("data");
    }
  }

  // Starts the probe in `mode` with the file and the folder registered; true once ready.
  bool StartProbe(ChildProcess& probe, const QString& mode) {
    if (!probe.start(REMOVE_ON_SIGNAL_PROBE, {mode, "file:" + file, "folder:" + folder}))
      return false;
    for (QByteArray line = probe.readLine(); !line.isEmpty(); line = probe.readLine())
      if (line == "ready") return true;
    return false;
  }

  bool AllGone() const { return !QFile::exists(file) && !QFileInfo::exists(folder); }
  bool AllThere() const {
    return QFile::exists(file) && QFile::exists(folder + "/a.cache") &&
           QFile::exists(folder + "/.b");
  }

  QTemporaryDir dir;
  QString file;
  QString folder;
};
}  // namespace

TEST_F(RemoveOnSignalTest, EachSignalRemovesThePathsAndStillEndsTheProcess) {
  for (int sig : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) {
    SCOPED_TRACE(strsignal(sig));
    SetUp();
    ChildProcess probe;
    ASSERT_TRUE(StartProbe(probe, "wait"));
    ASSERT_TRUE(AllThere());
    ::kill(probe.pid(), sig);
    probe.wait();
    EXPECT_TRUE(probe.killedBySignal());
    EXPECT_EQ(probe.signal(), sig);
    EXPECT_TRUE(AllGone());
  }
}

TEST_F(RemoveOnSignalTest, ReleasedPathsStay) {
  ChildProcess probe;
  ASSERT_TRUE(StartProbe(probe, "release"));
  ::kill(probe.pid(), SIGTERM);
  probe.wait();
  EXPECT_EQ(probe.signal(), SIGTERM);
  EXPECT_TRUE(AllThere());
}

TEST_F(RemoveOnSignalTest, AFolderWithASubFolderLosesItsFilesButStays) {
  ASSERT_TRUE(QDir().mkpath(folder + "/inner"));
  ChildProcess probe;
  ASSERT_TRUE(StartProbe(probe, "wait"));
  ::kill(probe.pid(), SIGINT);
  probe.wait();
  EXPECT_FALSE(QFile::exists(folder + "/a.cache"));
  EXPECT_TRUE(QFileInfo::exists(folder + "/inner"));
}

// The program's own choices stand: an ignored signal stays ignored, a handler of its own
// stays its own, and neither removes anything.
TEST_F(RemoveOnSignalTest, SignalsTheProgramHandlesItselfAreLeftToIt) {
  {
    ChildProcess probe;
    ASSERT_TRUE(StartProbe(probe, "ignore-hup"));
    ::kill(probe.pid(), SIGHUP);
    ::kill(probe.pid(), SIGTERM);
    probe.wait();
    EXPECT_EQ(probe.signal(), SIGTERM);  // it lived through SIGHUP
    EXPECT_TRUE(AllGone());
  }
  SetUp();
  ChildProcess probe;
  ASSERT_TRUE(StartProbe(probe, "own-term"));
  ::kill(probe.pid(), SIGTERM);
  probe.wait();
  EXPECT_EQ(probe.exitCode(), 7);
  EXPECT_TRUE(AllThere());
}

TEST_F(RemoveOnSignalTest, AForkedChildStoppedBySignalLeavesItsParentsPaths) {
  ChildProcess probe;
  ASSERT_TRUE(probe.start(REMOVE_ON_SIGNAL_PROBE, {"fork", "file:" + file, "folder:" + folder}));
  EXPECT_EQ(probe.readLine(), "child " + QByteArray::number(SIGTERM));
  EXPECT_EQ(probe.readLine(), "ready");
  EXPECT_TRUE(AllThere());
  ::kill(probe.pid(), SIGTERM);
  probe.wait();
  EXPECT_TRUE(AllGone());
}

TEST(RemoveOnSignal, WhatTheTableCannotHoldIsNotCovered) {
  EXPECT_FALSE(RemoveOnSignal("/tmp/" + QString(RemoveOnSignal::kMaxPathBytes, 'x'),
                              RemoveOnSignal::Kind::File)
                   .isRegistered());
  EXPECT_FALSE(RemoveOnSignal(QString(), RemoveOnSignal::Kind::File).isRegistered());

  std::vector<RemoveOnSignal> guards;
  for (int i = 0; i < RemoveOnSignal::kSlots; ++i)
    guards.emplace_back(QStringLiteral("/tmp/never-made-%1").arg(i), RemoveOnSignal::Kind::File);
  for (const RemoveOnSignal& guard : guards) EXPECT_TRUE(guard.isRegistered());
  RemoveOnSignal oneTooMany("/tmp/never-made", RemoveOnSignal::Kind::File);
  EXPECT_FALSE(oneTooMany.isRegistered());
  // A released slot serves again; a moved registration still holds its slot.
  guards.front().release();
  RemoveOnSignal again("/tmp/never-made", RemoveOnSignal::Kind::File);
  EXPECT_TRUE(again.isRegistered());
  RemoveOnSignal moved(std::move(guards.back()));
  EXPECT_TRUE(moved.isRegistered());
  EXPECT_FALSE(RemoveOnSignal("/tmp/never-made", RemoveOnSignal::Kind::File).isRegistered());
}
