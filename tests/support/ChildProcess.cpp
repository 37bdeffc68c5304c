#include "support/ChildProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>
#include <vector>

extern char** environ;

ChildProcess::~ChildProcess() {
  if (pid_ > 0) {
    ::kill(pid_, SIGKILL);
    wait();
  }
  if (outputFd_ >= 0) ::close(outputFd_);
}

bool ChildProcess::start(const QString& program, const QStringList& arguments,
                         const QStringList& environment) {
  if (!error_.open()) return false;
  int pipeFds[2];
  if (::pipe2(pipeFds, O_CLOEXEC) != 0) return false;

  QList<QByteArray> argumentBytes{QFile::encodeName(program)};
  for (const QString& argument : arguments) argumentBytes << argument.toLocal8Bit();
  QList<QByteArray> environmentBytes;
  for (const QString& entry : environment) environmentBytes << entry.toLocal8Bit();
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const QByteArray existing(*entry);
    const QByteArray name = existing.left(existing.indexOf('=') + 1);
    bool replaced = false;
    for (const QByteArray& own : environmentBytes) replaced = replaced || own.startsWith(name);
    if (!replaced) environmentBytes << existing;
  }
  std::vector<char*> argv, envp;
  for (QByteArray& bytes : argumentBytes) argv.push_back(bytes.data());
  argv.push_back(nullptr);
  for (QByteArray& bytes : environmentBytes) envp.push_back(bytes.data());
  envp.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, error_.handle(), STDERR_FILENO);
  // The signals the tests send take their default course in the child, whatever the
  // test runner does with them.
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t defaults;
  sigemptyset(&defaults);
  for (int sig : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) sigaddset(&defaults, sig);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  sigset_t none;
  sigemptyset(&none);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
  const int failed = posix_spawn(&pid_, argv[0], &actions, &attributes, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  ::close(pipeFds[1]);
  outputFd_ = pipeFds[0];
  if (failed != 0) pid_ = -1;
  return failed == 0;
}

QByteArray ChildProcess::readLine() {
  QByteArray line;
  char c = 0;
  while (outputFd_ >= 0) {
    const ssize_t got = ::read(outputFd_, &c, 1);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0 || c == '\n') break;
    line += c;
  }
  output_ += line + '\n';
  return line;
}

void ChildProcess::wait() {
  if (pid_ <= 0) return;
  char buffer[4096];
  for (ssize_t got; outputFd_ >= 0 && (got = ::read(outputFd_, buffer, sizeof buffer)) != 0;) {
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) break;
    output_.append(buffer, got);
  }
  rusage usage{};
  while (::wait4(pid_, &status_, 0, &usage) < 0 && errno == EINTR) {
  }
  peakKilobytes_ = usage.ru_maxrss;
  pid_ = -1;
}

bool ChildProcess::exitedNormally() const { return WIFEXITED(status_); }
int ChildProcess::exitCode() const { return WIFEXITED(status_) ? WEXITSTATUS(status_) : -1; }
bool ChildProcess::killedBySignal() const { return WIFSIGNALED(status_); }
int ChildProcess::signal() const { return WIFSIGNALED(status_) ? WTERMSIG(status_) : 0; }

QByteArray ChildProcess::standardError() const {
  QFile file(error_.fileName());
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
