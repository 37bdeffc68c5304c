#pragma once

// A program run as a child process the way a shell runs it, for tests that must see how
// it ended (the signal that stopped it) and the most memory it held (peak resident size,
// from wait4): what QProcess does not tell.

#include <sys/types.h>

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryFile>

class ChildProcess {
 public:
  ChildProcess() = default;
  // A child still running is killed and reaped.
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // Starts the program; environment holds "NAME=value" entries that replace or add to
  // this process's own. Standard output comes through readLine, standard error is kept.
  bool start(const QString& program, const QStringList& arguments,
             const QStringList& environment = {});
  pid_t pid() const { return pid_; }
  // The next line of standard output without its newline; empty at the end of it.
  QByteArray readLine();
  // Waits for the end, reading the rest of standard output meanwhile.
  void wait();

  bool exitedNormally() const;
  int exitCode() const;
  bool killedBySignal() const;
  int signal() const;
  long peakKilobytes() const { return peakKilobytes_; }
  QByteArray standardOutput() const { return output_; }
  QByteArray standardError() const;

 private:
  pid_t pid_ = -1;
  int outputFd_ = -1;
  int status_ = 0;
  long peakKilobytes_ = 0;
  QByteArray output_;
  QTemporaryFile error_;
};
