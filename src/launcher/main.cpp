#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "DesktopMessage.h"
#include "ExtractFolder.h"
#include "OwnFile.h"
#include "PlayerProcess.h"
#include "RuntimeFolder.h"
#include "ShowLayout.h"

extern char** environ;

namespace {
constexpr char kDamaged[] = "This show file is damaged.";

// Ends the way the interruption asked for, once everything written is gone.
[[noreturn]] void EndInterrupted(int signal) {
  ::signal(signal, SIG_DFL);
  raise(signal);
  _exit(128 + signal);
}
}  // namespace

// The head of a built show: extracts the pieces appended behind it into a private
// folder, runs the player there with the launcher's own arguments and removes it all.
int main(int argc, char** argv) {
  PlayerProcess::Listen();
  const std::string spelled = argc > 0 && argv[0] ? argv[0] : "";
  const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);

  const int show = OpenOwnFile(spelled);
  ShowLayout layout;
  if (show < 0 || !ReadShowLayout(show, "pavonel.exe", ScreenSaverPlayerName(spelled), layout)) {
    if (show >= 0) close(show);
    ShowMessage(kDamaged);
    return 1;
  }

  ExtractFolder folder;
  if (!folder.Create()) {
    const std::string reason = std::strerror(errno);
    close(show);
    ShowMessage(reason + " (" + ExtractFolder::TemporaryFolder() + ")");
    return 1;
  }
  for (std::size_t i = 0; i < layout.Pieces.size() && !PlayerProcess::Interrupted(); ++i) {
    const ShowPiece& piece = layout.Pieces[i];
    // A piece that cannot be written is left out; the player copes or fails to start.
    folder.Extract(show, piece.Begin, piece.End, piece.Name, i == 0);
  }
  close(show);

  if (!PlayerProcess::Interrupted()) {
    const std::string player = folder.Path() + layout.Pieces.front().Name;
    PlayerProcess process;
    const std::vector<std::string> environment = PlayerEnvironment(environ, folder.Path());
    if (const int error = process.Start(player, arguments, folder.Path(), environment);
        error == 0) {
      process.Wait();
    } else if (error != EINTR || !PlayerProcess::Interrupted()) {
      folder.Remove();
      ShowMessage(std::string(std::strerror(error)) + " (" + player + ")");
      return 1;
    }
  }
  folder.Remove();
  if (const int signal = PlayerProcess::Interrupted(); signal != 0) EndInterrupted(signal);
  return 0;
}
