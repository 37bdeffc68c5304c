#include "library/StoreFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include <QFile>
#include <QRandomGenerator>

namespace {
constexpr char kTemporaryPrefix[] = ".brivane-";
constexpr char kWriterTemporaryPrefix[] = "..brivane-";
constexpr char kTemporarySuffix[] = ".tmp";
}  // namespace

QByteArray NativePath(const QString& path) { return QFile::encodeName(path); }

bool RemoveStoreFile(const QString& path) {
  return ::unlink(NativePath(path).constData()) == 0 || errno == ENOENT;
}

bool MoveStoreFile(const QString& from, const QString& to) {
  return ::rename(NativePath(from).constData(), NativePath(to).constData()) == 0;
}

MoveOutcome MoveStoreFileWithoutReplacing(const QString& from, const QString& to) {
  const QByteArray source = NativePath(from);
  const QByteArray target = NativePath(to);
  if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0)
    return MoveOutcome::Moved;
  if (errno == EEXIST) return MoveOutcome::Exists;
  if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP) return MoveOutcome::Failed;

  if (::link(source.constData(), target.constData()) == 0) {
    ::unlink(source.constData());
    return MoveOutcome::Moved;
  }
  if (errno == EEXIST) return MoveOutcome::Exists;
  if (errno != EPERM && errno != EOPNOTSUPP && errno != ENOSYS) return MoveOutcome::Failed;

  struct stat existing {};
  if (::lstat(target.constData(), &existing) == 0) return MoveOutcome::Exists;
  return ::rename(source.constData(), target.constData()) == 0 ? MoveOutcome::Moved
                                                                : MoveOutcome::Failed;
}

bool SyncStoreFile(const QString& path) {
  const int fd = ::open(NativePath(path).constData(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool synced = ::fsync(fd) == 0;
  ::close(fd);
  return synced;
}

void SyncStoreFolder(const QString& folder) {
  const int fd = ::open(NativePath(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

void KeepStoreFileMode(const QString& existing, const QString& replacement) {
  struct stat old {};
  if (::stat(NativePath(existing).constData(), &old) == 0)
    (void)::chmod(NativePath(replacement).constData(), old.st_mode & 07777);
}

QString NewStoreTemporary(const QString& folder) {
  const quint64 token = QRandomGenerator::global()->generate64();
  return folder + QLatin1String(kTemporaryPrefix) + QString::number(token, 36) +
         QLatin1String(kTemporarySuffix);
}

bool IsStoreTemporary(const QString& fileName) {
  return (fileName.startsWith(QLatin1String(kTemporaryPrefix)) ||
          fileName.startsWith(QLatin1String(kWriterTemporaryPrefix))) &&
         fileName.endsWith(QLatin1String(kTemporarySuffix));
}

QString StoreLockPath(const QString& folder) { return folder + QLatin1String(".brivane.lock"); }

QString StoreWritingLockPath(const QString& folder) {
  return folder + QLatin1String(".brivane-writing.lock");
}
