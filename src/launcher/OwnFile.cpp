#include "OwnFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr char kRunningExecutable[] = "/proc/self/exe";

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

int OpenForReading(const std::string& path) { return open(path.c_str(), O_RDONLY | O_CLOEXEC); }

bool SameFile(int fd, const struct stat& other) {
  struct stat info {};
  return fstat(fd, &info) == 0 && info.st_dev == other.st_dev && info.st_ino == other.st_ino;
}

std::string FileName(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}
}  // namespace

int OpenOwnFile(const std::string& spelled) {
  std::string path = spelled;
  const bool hasExtension = EndsWith(path, ".exe") || EndsWith(path, ".scr");
  struct stat info {};
  if (!path.empty() && !hasExtension && stat(path.c_str(), &info) != 0) path += ".exe";

  struct stat running {};
  const bool known = stat(kRunningExecutable, &running) == 0;
  if (!spelled.empty()) {
    const int fd = OpenForReading(path);
    // Without /proc there is nothing to check against: trust the spelled path.
    if (fd >= 0 && (!known || SameFile(fd, running))) return fd;
    if (fd >= 0) close(fd);
  }
  return OpenForReading(kRunningExecutable);
}

std::string ScreenSaverPlayerName(const std::string& spelled) {
  std::string base = FileName(spelled);
  if (base.empty()) {
    char target[4096];
    const ssize_t length = readlink(kRunningExecutable, target, sizeof target - 1);
    if (length > 0) base = FileName(std::string(target, static_cast<std::size_t>(length)));
  }
  const std::size_t dot = base.find_last_of('.');
  if (dot != std::string::npos && dot > 0) base.erase(dot);
  if (base.empty()) base = "show";
  return base + ".exe";
}
