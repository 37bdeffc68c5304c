#pragma once

// Runs a writer of the program under strace and kills it with SIGKILL at the Nth call of
// one system call, for tests that check what a killed writer leaves behind.
//
// strace counts calls per thread: "the Nth write" is the Nth write of whichever thread
// gets there first, so the points to kill at run from 1 to the most calls one thread made.

#include <functional>

#include <QMap>
#include <QString>
#include <QStringList>

struct KillCommand {
  QString program;
  QStringList arguments;
  QStringList environment;  // "NAME=value", added to this process's own
  QString workFolder;
};

struct PlainRun {
  int status = -1;  // -1 when it did not exit on its own within the time limit
  QByteArray out;
  QByteArray err;
};

class QProcess;

QString StraceProgram();
// Gives the process the command's environment and working folder.
void PrepareProcess(QProcess& process, const KillCommand& command);
// strace's arguments for running the command: with n > 0 killed at the nth call of the
// calls (each name counted apart), else with every call of them written to traceFile.
QStringList StraceArguments(const KillCommand& command, const QStringList& calls, int n,
                            const QString& traceFile = "/dev/null");
// The most calls of each name that one thread made, from a trace written as above.
QMap<QString, int> ReadCallCounts(const QString& traceFile, const QStringList& calls);

// Why strace cannot trace here (not installed, ptrace forbidden), or "" when it can.
QString TraceProblem();

// Runs the command to its end, without strace.
PlainRun RunPlain(const KillCommand& command, int timeoutSeconds = 120);

// The most calls of each name that one thread of the command made in one whole run.
QMap<QString, int> CountCalls(const KillCommand& command, const QStringList& calls);

// Where to kill for a call made `count` times: every point when there are few, else
// about `most` of them spread over the range, the first and the last few included.
QList<int> KillPoints(int count, int most = 40);

// Runs the command, killing it at the nth call; true when the kill came (a run that
// makes fewer calls ends by itself).
bool RunKilledAt(const KillCommand& command, const QString& call, int n);

// What the kill runs of one writer came to.
struct KillTally {
  int points = 0;      // kill points run
  int killed = 0;      // runs the kill stopped (the rest ended first)
  int survived = 0;    // kill points after which every check held
  QStringList faults;  // "call #n: what was wrong"
};

// For each call and each of its kill points: prepare(folder) makes the old state in a
// fresh folder, the command (made for that folder) is killed there, and check(folder,
// killed) returns what is wrong afterwards ("" when nothing). Counts come from one
// unkilled run of the command on a prepared folder. The tally is printed for the writer.
KillTally RunKillPoints(const char* writer, const QStringList& calls,
                        const std::function<void(const QString& folder)>& prepare,
                        const std::function<KillCommand(const QString& folder)>& command,
                        const std::function<QString(const QString& folder, bool killed)>& check,
                        int mostPerCall = 40);

// Copies a folder tree with file times kept; false on any failure.
bool CopyTree(const QString& from, const QString& to);
// The names of the files in a folder that do not start with "." (what a user or a listing
// sees), sorted.
QStringList VisibleFiles(const QString& folder);
QByteArray FileBytes(const QString& path);
