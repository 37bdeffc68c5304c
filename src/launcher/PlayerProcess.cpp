#include "PlayerProcess.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

namespace {
constexpr int kForwarded[] = {SIGINT, SIGTERM, SIGHUP};

volatile sig_atomic_t g_player = 0;
volatile sig_atomic_t g_interrupted = 0;

void OnSignal(int signal) {
  if (g_interrupted == 0) g_interrupted = signal;
  const pid_t player = g_player;
  if (player > 0) kill(player, signal);
}

sigset_t ForwardedSet() {
  sigset_t set;
  sigemptyset(&set);
  for (const int signal : kForwarded) sigaddset(&set, signal);
  return set;
}
}  // namespace

void PlayerProcess::Listen() {
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  // No SA_RESTART: a signal wakes the wait so the launcher sees it at once.
  action.sa_flags = 0;
  for (const int signal : kForwarded) sigaction(signal, &action, nullptr);
}

int PlayerProcess::Interrupted() { return g_interrupted; }

int PlayerProcess::Start(const std::string& player, const std::vector<std::string>& arguments,
                         const std::string& folder, const std::vector<std::string>& environment) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(player.c_str()));
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  std::vector<char*> envp;
  for (const std::string& variable : environment) envp.push_back(const_cast<char*>(variable.c_str()));
  envp.push_back(nullptr);

  // Held back until the process id is known, so a signal in between still reaches it.
  const sigset_t forwarded = ForwardedSet();
  sigset_t previous;
  sigprocmask(SIG_BLOCK, &forwarded, &previous);
  if (g_interrupted != 0) {
    sigprocmask(SIG_SETMASK, &previous, nullptr);
    return EINTR;
  }

  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  posix_spawnattr_setsigmask(&attributes, &previous);
  posix_spawnattr_setsigdefault(&attributes, &forwarded);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  int result = posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
  pid_t pid = 0;
  if (result == 0)
    result = posix_spawn(&pid, player.c_str(), &actions, &attributes, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);

  if (result == 0) g_player = pid;
  sigprocmask(SIG_SETMASK, &previous, nullptr);
  return result;
}

void PlayerProcess::Wait() {
  const pid_t player = g_player;
  if (player <= 0) return;
  int status = 0;
  while (waitpid(player, &status, 0) < 0 && errno == EINTR) {
  }
  g_player = 0;
}
