#pragma once

#include <string>
#include <vector>

// The player started from the extraction folder and waited for. While the launcher
// listens (Listen), SIGINT, SIGTERM and SIGHUP are passed on to the running player and
// remembered, so the launcher can clean up before it ends the same way.
class PlayerProcess {
 public:
  // Installs the signal handlers; call once, before anything is written.
  static void Listen();
  // The first of those signals received, or 0.
  static int Interrupted();

  // Starts the player with the folder as current directory: argv[0] = player, then the
  // arguments, in the environment given (NAME=VALUE entries). 0, or the error number when
  // it could not be started.
  int Start(const std::string& player, const std::vector<std::string>& arguments,
            const std::string& folder, const std::vector<std::string>& environment);
  // Waits until the started player has ended.
  void Wait();
};
