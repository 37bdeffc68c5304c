#pragma once

#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// How a run of the tool ended.
struct BrivaneOutcome {
  int status = -1;  // -1 when it did not exit normally
  QString out;
  QString err;
};

// Runs brivane on the program folder from workFolder, through a shell that may first
// limit what the run may do (limits: shell commands such as "ulimit -f 64;").
inline BrivaneOutcome RunLimitedBrivane(const QString& workFolder, const QString& programFolder,
                                        const QStringList& arguments, const QString& limits = {}) {
  QProcess process;
  process.setWorkingDirectory(workFolder);
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.remove("BRIVANE_PROGRAM_FOLDER");
  process.setProcessEnvironment(environment);
  process.start("/bin/sh", QStringList({"-c", limits + " exec \"$0\" \"$@\"",
                                        QString(BRIVANE_PROGRAM_DIR) + "brivane", "--program-folder",
                                        programFolder}) +
                               arguments);
  EXPECT_TRUE(process.waitForFinished(120000));
  BrivaneOutcome run;
  run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  run.out = QString::fromUtf8(process.readAllStandardOutput());
  run.err = QString::fromUtf8(process.readAllStandardError());
  return run;
}

// A test of brivane on a program folder of its own, in a temporary folder.
class BrivaneFolderTest : public ::testing::Test {
 protected:
  QString ProgramFolder() const { return dir.path() + "/program/"; }
  QString File(const QString& name) const { return dir.path() + "/" + name; }
  BrivaneOutcome Brivane(const QStringList& arguments) {
    return RunLimitedBrivane(dir.path(), ProgramFolder(), arguments);
  }

  QTemporaryDir dir;
};
