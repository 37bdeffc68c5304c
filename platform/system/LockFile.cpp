#include "system/LockFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include <QFile>

LockFile::LockFile(const QString& path, Mode mode, Wait wait) {
  // O_NOFOLLOW: a link planted under the lock's name must not make us create files elsewhere.
  m_fd = ::open(QFile::encodeName(path).constData(),
                O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0644);
  if (m_fd < 0) return;
  int operation = mode == Mode::Exclusive ? LOCK_EX : LOCK_SH;
  if (wait == Wait::DontBlock) operation |= LOCK_NB;
  int result;
  do {
    result = ::flock(m_fd, operation);
  } while (result != 0 && errno == EINTR);
  if (result != 0) {
    ::close(m_fd);
    m_fd = -1;
  }
}

LockFile::~LockFile() {
  if (m_fd >= 0) ::close(m_fd);
}

LockFile::LockFile(LockFile&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}

LockFile& LockFile::operator=(LockFile&& other) noexcept {
  if (this != &other) {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = std::exchange(other.m_fd, -1);
  }
  return *this;
}
