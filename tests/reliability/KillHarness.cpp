#include "KillHarness.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

namespace {

constexpr int kRunMilliseconds = 120000;

}  // namespace

QString StraceProgram() { return QStandardPaths::findExecutable("strace"); }

void PrepareProcess(QProcess& process, const KillCommand& command) {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  for (const QString& entry : command.environment)
    environment.insert(entry.section('=', 0, 0), entry.section('=', 1));
  process.setProcessEnvironment(environment);
  if (!command.workFolder.isEmpty()) process.setWorkingDirectory(command.workFolder);
}

QStringList StraceArguments(const KillCommand& command, const QStringList& calls, int n,
                            const QString& traceFile) {
  // Not --seccomp-bpf: strace 6.1 does not inject the signal through it.
  QStringList arguments = {"-f", "-qq", "-o", traceFile, "-e", "trace=" + calls.join(',')};
  if (n > 0)
    arguments << "-e" << QString("inject=%1:signal=SIGKILL:when=%2").arg(calls.join(',')).arg(n);
  return arguments + QStringList{"--", command.program} + command.arguments;
}

QMap<QString, int> ReadCallCounts(const QString& traceFile, const QStringList& calls) {
  // "1234 write(1, ..." starts a call; "1234 <... write resumed>" finishes one already counted.
  static const QRegularExpression kCall("^(\\d+) +([a-z0-9_]+)\\(");
  QMap<QString, QMap<QString, int>> perThread;
  QFile file(traceFile);
  if (file.open(QIODevice::ReadOnly))
    while (!file.atEnd()) {
      const auto match = kCall.match(QString::fromLatin1(file.readLine()));
      if (match.hasMatch()) ++perThread[match.captured(2)][match.captured(1)];
    }
  QMap<QString, int> most;
  for (const QString& call : calls) {
    most[call] = 0;
    for (const int count : perThread.value(call)) most[call] = std::max(most[call], count);
  }
  return most;
}

QString TraceProblem() {
  if (StraceProgram().isEmpty()) return "strace is not installed (Debian package strace)";
  QProcess probe;
  probe.start(StraceProgram(), StraceArguments({"/bin/true", {}, {}, {}}, {"write"}, 0));
  if (!probe.waitForFinished(30000) || probe.exitStatus() != QProcess::NormalExit ||
      probe.exitCode() != 0)
    return "strace cannot trace a process here (ptrace forbidden?): " +
           QString::fromLocal8Bit(probe.readAllStandardError()).trimmed();
  return {};
}

PlainRun RunPlain(const KillCommand& command, int timeoutSeconds) {
  QProcess process;
  PrepareProcess(process, command);
  process.start(command.program, command.arguments);
  PlainRun run;
  const bool finished = process.waitForFinished(timeoutSeconds * 1000) &&
                        process.exitStatus() == QProcess::NormalExit;
  if (!finished) {
    process.kill();
    process.waitForFinished();
  }
  run.status = finished ? process.exitCode() : -1;
  run.out = process.readAllStandardOutput();
  run.err = process.readAllStandardError();
  return run;
}

QMap<QString, int> CountCalls(const KillCommand& command, const QStringList& calls) {
  QTemporaryDir scratch;
  const QString trace = scratch.path() + "/trace";
  QProcess process;
  PrepareProcess(process, command);
  process.start(StraceProgram(), StraceArguments(command, calls, 0, trace));
  process.waitForFinished(kRunMilliseconds);
  return ReadCallCounts(trace, calls);
}

QList<int> KillPoints(int count, int most) {
  QList<int> points;
  if (count <= most) {
    for (int n = 1; n <= count; ++n) points << n;
    return points;
  }
  // The first and the last three, and the middle of the range spread evenly between them.
  for (int n = 1; n <= 3; ++n) points << n;
  const int inner = most - 6;
  for (int i = 1; i <= inner; ++i)
    points << 3 + static_cast<int>(qint64(count - 6) * i / (inner + 1));
  for (int n = count - 2; n <= count; ++n) points << n;
  points.erase(std::unique(points.begin(), points.end()), points.end());
  return points;
}

bool RunKilledAt(const KillCommand& command, const QString& call, int n) {
  QProcess process;
  PrepareProcess(process, command);
  process.start(StraceProgram(), StraceArguments(command, {call}, n));
  if (!process.waitForFinished(kRunMilliseconds)) {
    process.kill();
    process.waitForFinished();
    return false;
  }
  // strace ends the way its tracee did: by the same signal.
  return process.exitStatus() == QProcess::CrashExit;
}

KillTally RunKillPoints(const char* writer, const QStringList& calls,
                        const std::function<void(const QString&)>& prepare,
                        const std::function<KillCommand(const QString&)>& command,
                        const std::function<QString(const QString&, bool)>& check,
                        int mostPerCall) {
  KillTally tally;
  QTemporaryDir base;
  const QString countFolder = base.path() + "/count/";
  QDir().mkpath(countFolder);
  prepare(countFolder);
  const QMap<QString, int> counts = CountCalls(command(countFolder), calls);
  QStringList countText;
  int index = 0;
  for (const QString& call : calls) {
    const QList<int> points = KillPoints(counts.value(call), mostPerCall);
    countText << QString("%1 %2 (%3 points)").arg(call).arg(counts.value(call)).arg(points.size());
    for (const int n : points) {
      const QString folder = QString("%1/k%2/").arg(base.path()).arg(++index);
      QDir().mkpath(folder);
      prepare(folder);
      const bool killed = RunKilledAt(command(folder), call, n);
      const QString problem = check(folder, killed);
      ++tally.points;
      if (killed) ++tally.killed;
      if (problem.isEmpty())
        ++tally.survived;
      else
        tally.faults
            << QString("%1 #%2%3: %4").arg(call).arg(n).arg(killed ? "" : " (not killed)", problem);
      QDir(folder).removeRecursively();
    }
  }
  std::printf("[kill] %s: calls per thread: %s\n", writer, qPrintable(countText.join(", ")));
  std::printf("[kill] %s: %d kill points run, %d of them killed the writer, %d survived\n", writer,
              tally.points, tally.killed, tally.survived);
  std::fflush(stdout);
  return tally;
}

bool CopyTree(const QString& from, const QString& to) {
  QDir().mkpath(to);
  QDirIterator it(from, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                  QDirIterator::Subdirectories);
  const QDir source(from);
  while (it.hasNext()) {
    const QString path = it.next();
    const QFileInfo info = it.fileInfo();
    const QString target = to + "/" + source.relativeFilePath(path);
    if (info.isSymLink()) {
      if (!QFile::link(info.symLinkTarget(), target)) return false;
      continue;
    }
    if (info.isDir()) {
      if (!QDir().mkpath(target)) return false;
      continue;
    }
    if (!QFile::copy(path, target)) return false;
    QFile copy(target);
    if (!copy.open(QIODevice::ReadWrite) ||
        !copy.setFileTime(info.lastModified(), QFileDevice::FileModificationTime))
      return false;
    copy.setPermissions(info.permissions());
  }
  return true;
}

QStringList VisibleFiles(const QString& folder) {
  return QDir(folder).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
}

QByteArray FileBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
