#include "FuzzSupport.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace {
class Scratch {
 public:
  Scratch() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = base && *base ? base : "/tmp";
    if (pattern.back() != '/') pattern += '/';
    // No dot in the name: the picture readers take what follows a path's last dot for
    // the extension.
    pattern += "brivane-fuzz-XXXXXX";
    if (!mkdtemp(pattern.data())) {
      std::perror(pattern.c_str());
      std::abort();
    }
    path_ = pattern + '/';
  }
  ~Scratch() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};
}  // namespace

const std::string& ScratchFolder() {
  static const Scratch scratch;
  return scratch.Path();
}

std::string WriteScratchFile(const std::string& name, const std::uint8_t* data, std::size_t size) {
  const std::string path = ScratchFolder() + name;
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) {
    std::perror(path.c_str());
    std::abort();
  }
  std::size_t done = 0;
  while (done < size) {
    const ssize_t written = write(fd, data + done, size - done);
    if (written <= 0) {
      std::perror(path.c_str());
      std::abort();
    }
    done += std::size_t(written);
  }
  close(fd);
  return path;
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void FuzzFault(const char* file, int line, const char* what) {
  std::fprintf(stderr, "%s:%d: the input broke a promise: %s\n", file, line, what);
  // abort() skips the destructors: the folder would stay behind. The input is saved anyway.
  std::error_code ignored;
  std::filesystem::remove_all(ScratchFolder(), ignored);
  std::abort();
}
