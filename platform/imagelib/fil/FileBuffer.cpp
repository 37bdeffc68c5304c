#include "fil/FileBuffer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <algorithm>
#include <cerrno>

#include "krn/ResultCodes.h"

namespace {
int ResultForOpenError(int error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR:
      return ERROR_FILE_NOT_FOUND;
    case ENOMEM:
      return ERROR_NO_MEMORY;
    default:
      return ERROR_FILE_OPEN;
  }
}

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};
}  // namespace

int ReadFileBuffer(const QString& file, FileBuffer& buffer, std::size_t maxBytes) {
  buffer = FileBuffer{};
  if (file.isEmpty()) return ERROR_FILE_NOT_FOUND;
  // Non-blocking, so that a FIFO given as a picture cannot hang the caller.
  const Descriptor fd(
      ::open(QFile::encodeName(file).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
  if (fd.get() < 0) return ResultForOpenError(errno);
  struct stat status {};
  if (::fstat(fd.get(), &status) != 0) return ERROR_FILE_OPEN;
  if (!S_ISREG(status.st_mode)) return ERROR_FILE_OPEN;
  buffer.DiskSize = status.st_size;
  if (status.st_size <= 0) return ERROR_FILE_FORMAT;

  const std::size_t wanted = std::min<std::size_t>(std::size_t(status.st_size), maxBytes);
  buffer.Data.reset(static_cast<unsigned char*>(std::malloc(wanted)));
  if (!buffer.Data) return ERROR_NO_MEMORY;
  std::size_t done = 0;
  while (done < wanted) {
    const ssize_t got = ::read(fd.get(), buffer.Data.get() + done, wanted - done);
    if (got < 0) {
      if (errno == EINTR) continue;
      buffer = FileBuffer{};
      return ERROR_FILE_READ;
    }
    if (got == 0) break;  // shrank while we read: what is there is what we have
    done += std::size_t(got);
  }
  buffer.Size = done;
  if (done == 0) return ERROR_FILE_FORMAT;
  return SUCCESS;
}
