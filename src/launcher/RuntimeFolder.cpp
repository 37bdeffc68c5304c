#include "RuntimeFolder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

namespace {
constexpr char kVariable[] = "XDG_RUNTIME_DIR=";
constexpr std::size_t kVariableLength = sizeof(kVariable) - 1;
// Hidden, so the player's look at its own folder sees the show's pieces only.
constexpr char kRuntimeName[] = ".runtime";
}  // namespace

bool IsUsableRuntimeFolder(const char* path) {
  if (!path || path[0] != '/') return false;
  struct stat status {};
  if (lstat(path, &status) != 0) return false;
  return S_ISDIR(status.st_mode) && status.st_uid == geteuid() &&
         (status.st_mode & 07777) == 0700;
}

std::vector<std::string> PlayerEnvironment(const char* const* environment,
                                           const std::string& privateFolder) {
  std::vector<std::string> result;
  const char* runtime = nullptr;
  for (const char* const* entry = environment; entry && *entry; ++entry) {
    if (std::strncmp(*entry, kVariable, kVariableLength) == 0) {
      // The first one counts, as for getenv.
      if (!runtime) runtime = *entry + kVariableLength;
      continue;
    }
    result.emplace_back(*entry);
  }
  if (IsUsableRuntimeFolder(runtime)) {
    result.push_back(std::string(kVariable) + runtime);
    return result;
  }
  const std::string folder = privateFolder + kRuntimeName;
  // chmod as well: a restrictive umask would leave the folder unusable.
  if (mkdir(folder.c_str(), 0700) == 0 && chmod(folder.c_str(), 0700) == 0)
    result.push_back(kVariable + folder);
  else if (runtime)
    result.push_back(std::string(kVariable) + runtime);
  return result;
}
