// Registers paths with RemoveOnSignal, says "ready" and waits for the test's signal.
//   remove_on_signal_probe MODE [file:PATH | folder:PATH]...
// MODE: wait (keep them registered), release (unregister them again), ignore-hup (SIGHUP
// ignored beforehand), own-term (a SIGTERM handler of its own, exiting with 7), fork
// (a child stopped by SIGTERM first; "child N" tells the signal that ended it).
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <list>

#include "system/RemoveOnSignal.h"

namespace {
void exitSeven(int) { _exit(7); }
}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  // SIGQUIT would dump core.
  const rlimit noCore{0, 0};
  setrlimit(RLIMIT_CORE, &noCore);
  const char* mode = argv[1];
  if (std::strcmp(mode, "ignore-hup") == 0) signal(SIGHUP, SIG_IGN);
  if (std::strcmp(mode, "own-term") == 0) signal(SIGTERM, exitSeven);

  std::list<RemoveOnSignal> guards;
  for (int i = 2; i < argc; ++i) {
    const bool folder = std::strncmp(argv[i], "folder:", 7) == 0;
    const char* path = std::strchr(argv[i], ':') + 1;
    guards.emplace_back(QString::fromLocal8Bit(path),
                        folder ? RemoveOnSignal::Kind::Folder : RemoveOnSignal::Kind::File);
    if (!guards.back().isRegistered()) return 3;
  }
  if (std::strcmp(mode, "release") == 0)
    for (RemoveOnSignal& guard : guards) guard.release();
  if (std::strcmp(mode, "fork") == 0) {
    const pid_t child = fork();
    if (child == 0) {
      raise(SIGTERM);
      _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    std::printf("child %d\n", WIFSIGNALED(status) ? WTERMSIG(status) : -1);
  }
  std::printf("ready\n");
  std::fflush(stdout);
  for (;;) pause();
}
