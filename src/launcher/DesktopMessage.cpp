#include "DesktopMessage.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

extern char** environ;

namespace {
bool HasDisplay() {
  const char* x = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return (x && *x) || (wayland && *wayland);
}

std::string FindProgram(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::string folders = path && *path ? path : "/usr/local/bin:/usr/bin:/bin";
  std::size_t start = 0;
  while (start <= folders.size()) {
    std::size_t colon = folders.find(':', start);
    if (colon == std::string::npos) colon = folders.size();
    const std::string folder = folders.substr(start, colon - start);
    if (!folder.empty() && folder[0] == '/') {
      const std::string candidate = folder + '/' + name;
      if (access(candidate.c_str(), X_OK) == 0) return candidate;
    }
    start = colon + 1;
  }
  return {};
}

// Runs the tool and waits for the user to close its box; a tool that cannot reach the
// display ends at once with an error.
bool RunTool(const std::vector<std::string>& command) {
  std::vector<char*> argv;
  for (const std::string& part : command) argv.push_back(const_cast<char*>(part.c_str()));
  argv.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return false;
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return false;
  }
  // zenity ends with 1 when its box is closed without OK; only a failure to show counts.
  return WIFEXITED(status) && WEXITSTATUS(status) <= 1;
}
}  // namespace

void ShowMessage(const std::string& text) {
  std::fprintf(stderr, "%s\n", text.c_str());
  std::fflush(stderr);
  if (!HasDisplay()) return;
  if (const std::string zenity = FindProgram("zenity");
      !zenity.empty() &&
      RunTool({zenity, "--error", "--title=Brivane", "--no-markup", "--text=" + text}))
    return;
  if (const std::string xmessage = FindProgram("xmessage"); !xmessage.empty())
    RunTool({xmessage, "-title", "Brivane", "-center", "-buttons", "OK", text});
}
