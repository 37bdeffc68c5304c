#include "system/AtomicFile.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFileInfo>

namespace {
std::mutex hookMutex;
AtomicWriteHook writeHook;

bool RunHook(const QString& path) {
  AtomicWriteHook hook;
  {
    std::lock_guard lock(hookMutex);
    hook = writeHook;
  }
  return !hook || hook(path);
}

bool WriteAll(int fd, const char* data, qsizetype size) {
  while (size > 0) {
    const ssize_t written = ::write(fd, data, static_cast<size_t>(size));
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += written;
    size -= written;
  }
  return true;
}

// The file that the write really replaces: the target of a symbolic link, so the link stays.
QString ResolveTarget(const QString& path) {
  QFileInfo info(path);
  if (info.isSymLink()) {
    const QString target = info.exists() ? info.canonicalFilePath() : info.symLinkTarget();
    if (!target.isEmpty()) return target;
  }
  return info.absoluteFilePath();
}

void SyncFolder(const QByteArray& folder) {
  const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}
}  // namespace

bool MakePrivateFolder(const QString& folder) {
  if (QFileInfo(folder).isDir()) return true;
  if (!QDir().mkpath(folder)) return false;
  // The Windows folder holds settings with a password in them: keep it private.
  ::chmod(QFile::encodeName(folder).constData(), S_IRWXU);
  return true;
}

AtomicWriteHook SetAtomicWriteHook(AtomicWriteHook hook) {
  std::lock_guard lock(hookMutex);
  std::swap(writeHook, hook);
  return hook;
}

bool WriteFileAtomically(const QString& path, const QByteArray& content) {
  if (path.isEmpty()) return false;
  const QString target = ResolveTarget(path);
  const QFileInfo targetInfo(target);
  if (targetInfo.isDir()) return false;
  const QString folder = targetInfo.absolutePath();
  if (!MakePrivateFolder(folder)) return false;

  const QByteArray targetName = QFile::encodeName(target);
  QByteArray tempName = QFile::encodeName(folder + "/." + targetInfo.fileName() + ".XXXXXX");
  // mkstemp creates the file with mode 0600.
  const int fd = ::mkostemp(tempName.data(), O_CLOEXEC);
  if (fd < 0) return false;

  bool ok = true;
  struct stat existing {};
  if (::stat(targetName.constData(), &existing) == 0)
    ok = ::fchmod(fd, existing.st_mode & 07777) == 0;
  ok = ok && WriteAll(fd, content.constData(), content.size());
  ok = ok && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  ok = ok && RunHook(target);
  ok = ok && ::rename(tempName.constData(), targetName.constData()) == 0;
  if (!ok) {
    ::unlink(tempName.constData());
    return false;
  }
  // The rename itself must reach the disk too, or a crash could bring back the old file.
  SyncFolder(QFile::encodeName(folder));
  return true;
}
