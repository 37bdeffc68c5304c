#include "UploadServer.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <vector>

#include "ServiceOptions.h"

extern char** environ;

namespace {
constexpr const char* kPython = "/usr/bin/python3";
// Starting Python and pyftpdlib takes well under a second; a child silent this long hangs.
constexpr int kStartMilliseconds = 20000;

// Reads up to the first newline; empty when the pipe closes or time runs out first.
std::string ReadFirstLine(int fd) {
  std::string line;
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::milliseconds(kStartMilliseconds);
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return {};
    pollfd waiting{fd, POLLIN, 0};
    const int ready = ::poll(&waiting, 1, static_cast<int>(left.count()));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) return {};
    char c = 0;
    const ssize_t got = ::read(fd, &c, 1);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return {};
    if (c == '\n') return line;
    if (line.size() < 256) line += c;
  }
}
}  // namespace

UploadServer::~UploadServer() { stop(); }

bool UploadServer::start(const Settings& settings, std::string& error) {
  if (::access(kPython, X_OK) != 0) {
    error = "the FTP upload server needs " + std::string(kPython) + " (Debian package python3)";
    return false;
  }
  if (::access(settings.script.c_str(), R_OK) != 0) {
    error = "the FTP upload server " + settings.script + " is missing";
    return false;
  }
  std::vector<std::string> arguments = {
      kPython,      settings.script,      "--root", settings.root,
      "--bind",     settings.bindAddress, "--port", std::to_string(settings.port),
      "--database", settings.database};
  if (!settings.passivePorts.empty()) {
    arguments.push_back("--passive-ports");
    arguments.push_back(settings.passivePorts);
  }
  if (!settings.publicHost.empty()) {
    arguments.push_back("--public-host");
    arguments.push_back(settings.publicHost);
  }
  if (settings.stopWithParent) arguments.push_back("--stop-with-parent");
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);

  int pipeFds[2];
  if (::pipe2(pipeFds, O_CLOEXEC) != 0) {
    error = "cannot make a pipe for the FTP upload server";
    return false;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
  // The service blocks its stop signals and ignores SIGPIPE; the child must not inherit that.
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t none, defaults;
  sigemptyset(&none);
  sigemptyset(&defaults);
  for (const int signal : {SIGINT, SIGTERM, SIGPIPE}) sigaddset(&defaults, signal);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  const int spawned = posix_spawn(&pid_, kPython, &actions, &attributes, argv.data(), environ);
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  ::close(pipeFds[1]);
  if (spawned != 0) {
    ::close(pipeFds[0]);
    pid_ = -1;
    error = "cannot start " + std::string(kPython);
    return false;
  }
  const std::string line = ReadFirstLine(pipeFds[0]);
  // Whatever the child prints later goes on to our standard error, so that its writes
  // never fill or break the pipe.
  outputCopier_ = std::thread([fd = pipeFds[0]] {
    char buffer[4096];
    for (;;) {
      const ssize_t got = ::read(fd, buffer, sizeof buffer);
      if (got < 0 && errno == EINTR) continue;
      if (got <= 0) break;
      if (::write(STDERR_FILENO, buffer, static_cast<std::size_t>(got)) < 0) {
      }
    }
    ::close(fd);
  });
  const auto port = line.rfind("ftp=", 0) == 0 ? ParseWholeNumber(line.substr(4)) : std::nullopt;
  if (!port || *port < 1 || *port > 65535) {
    stop();
    error =
        "the FTP upload server did not start (is python3-pyftpdlib installed? its messages "
        "are above)";
    return false;
  }
  port_ = static_cast<int>(*port);
  return true;
}

void UploadServer::stop() {
  stopChild();
  if (outputCopier_.joinable()) outputCopier_.join();
}

void UploadServer::stopChild() {
  if (pid_ <= 0) return;
  ::kill(pid_, SIGTERM);
  // Give it a few seconds to close its sessions, then end it.
  for (int i = 0; i < 50; ++i) {
    int status = 0;
    const pid_t done = ::waitpid(pid_, &status, WNOHANG);
    if (done == pid_ || (done < 0 && errno != EINTR)) {
      pid_ = -1;
      return;
    }
    ::usleep(100000);
  }
  ::kill(pid_, SIGKILL);
  ::waitpid(pid_, nullptr, 0);
  pid_ = -1;
}
