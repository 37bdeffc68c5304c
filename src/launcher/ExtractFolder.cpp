#include "ExtractFolder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <system_error>

namespace {
constexpr std::size_t kBufferSize = 1 << 20;

bool WriteAll(int fd, const char* bytes, std::size_t size) {
  while (size > 0) {
    const ssize_t done = write(fd, bytes, size);
    if (done < 0 && errno == EINTR) continue;
    if (done <= 0) return false;
    bytes += done;
    size -= static_cast<std::size_t>(done);
  }
  return true;
}

// Through a bounded buffer, for file systems where copy_file_range does not work.
bool CopyThroughBuffer(int source, std::int64_t offset, std::int64_t end, int target) {
  const std::unique_ptr<char[]> buffer(new char[kBufferSize]);
  while (offset < end) {
    const std::size_t want =
        static_cast<std::size_t>(std::min<std::int64_t>(end - offset, kBufferSize));
    const ssize_t got = pread(source, buffer.get(), want, offset);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0 || !WriteAll(target, buffer.get(), static_cast<std::size_t>(got))) return false;
    offset += got;
  }
  return true;
}

bool CopyRange(int source, std::int64_t begin, std::int64_t end, int target) {
  loff_t offset = begin;
  while (offset < end) {
    const ssize_t done = copy_file_range(source, &offset, target, nullptr,
                                         static_cast<std::size_t>(end - offset), 0);
    if (done > 0) continue;
    if (done < 0 && errno == EINTR) continue;
    if (done == 0) return false;
    if (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP ||
        errno == EPERM)
      return CopyThroughBuffer(source, offset, end, target);
    return false;
  }
  return true;
}
}  // namespace

std::string ExtractFolder::TemporaryFolder() {
  const char* temporary = std::getenv("TMPDIR");
  std::string base = temporary && *temporary ? temporary : "/tmp";
  if (base.back() != '/') base += '/';
  return base;
}

bool ExtractFolder::Create() {
  std::string pattern = TemporaryFolder() + "brivane-show-XXXXXX";
  if (!mkdtemp(pattern.data())) return false;
  m_path = pattern + '/';
  return true;
}

bool ExtractFolder::Extract(int source, std::int64_t begin, std::int64_t end,
                            const std::string& name, bool executable) {
  const std::string path = m_path + name;
  m_written.push_back(path);
  const int target = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW,
                          executable ? 0700 : 0600);
  if (target < 0) return false;
  const bool copied = CopyRange(source, begin, end, target);
  return close(target) == 0 && copied;
}

void ExtractFolder::Remove() {
  if (m_path.empty()) return;
  for (const std::string& path : m_written) unlink(path.c_str());
  m_written.clear();
  std::error_code ignored;
  std::filesystem::remove_all(m_path, ignored);
  m_path.clear();
}
