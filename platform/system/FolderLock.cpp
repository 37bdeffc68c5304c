#include "system/FolderLock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QFile>

FolderLock::FolderLock(const QString& folder) {
  const QByteArray name = QFile::encodeName(folder.isEmpty() ? QStringLiteral(".") : folder);
  m_fd = ::open(name.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (m_fd < 0) return;
  int result;
  do {
    result = ::flock(m_fd, LOCK_EX);
  } while (result != 0 && errno == EINTR);
  if (result != 0) {
    ::close(m_fd);
    m_fd = -1;
  }
}

FolderLock::~FolderLock() {
  if (m_fd >= 0) ::close(m_fd);
}
