#include "fil/AtomicFileWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <cstdio>

#include "krn/ResultCodes.h"

namespace {
QByteArray Native(const QString& path) { return QFile::encodeName(path); }

// Names of temporaries stay well inside NAME_MAX whatever the target's name.
QString TemporaryName(const QString& fileName) {
  return QStringLiteral(".%1.%2.tmp")
      .arg(fileName.left(64))
      .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
}
}  // namespace

AtomicFileWriter::AtomicFileWriter(const QString& target) : target_(target) {
  // Saving over a link replaces what it points to, not the link.
  const QFileInfo info(target);
  if (info.isSymLink() && info.exists()) target_ = info.canonicalFilePath();
}

AtomicFileWriter::~AtomicFileWriter() {
  if (fd_ >= 0) ::close(fd_);
  if (!committed_ && !temporary_.isEmpty()) ::unlink(Native(temporary_).constData());
}

int AtomicFileWriter::Open() {
  if (target_.isEmpty()) return ERROR_FILE_WRITE;
  const QFileInfo info(target_);
  if (info.isDir()) return ERROR_FILE_WRITE;
  const QString folder = info.absolutePath() + QLatin1Char('/');
  struct stat old {};
  const bool replacing = ::stat(Native(target_).constData(), &old) == 0;
  // A file the user may not write stays as it is, though the folder would allow a rename.
  if (replacing && ::access(Native(target_).constData(), W_OK) != 0) return ERROR_FILE_WRITE;
  for (int attempt = 0; attempt < 16; ++attempt) {
    // A signal being handled waits for this, so the file is either removed by the
    // handler or never left behind by this thread.
    const RemoveOnSignal::Creation creating;
    if (RemoveOnSignal::stopping()) return ERROR_FILE_WRITE;
    const QString candidate = folder + TemporaryName(info.fileName());
    guard_.emplace(candidate, RemoveOnSignal::Kind::File);
    // 0666 under the process umask, as any new file of the user's.
    fd_ = ::open(Native(candidate).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ >= 0) {
      if (RemoveOnSignal::stopping()) {
        ::close(fd_);
        fd_ = -1;
        ::unlink(Native(candidate).constData());
        return ERROR_FILE_WRITE;
      }
      temporary_ = candidate;
      if (replacing) mode_ = int(old.st_mode & 07777);
      return SUCCESS;
    }
    const int error = errno;
    guard_.reset();
    if (error != EEXIST) return ERROR_FILE_WRITE;
  }
  return ERROR_FILE_WRITE;
}

int AtomicFileWriter::Write(const void* data, std::size_t size) {
  if (fd_ < 0) return ERROR_FILE_WRITE;
  const auto* bytes = static_cast<const unsigned char*>(data);
  while (size > 0) {
    const ssize_t done = ::write(fd_, bytes, size);
    if (done < 0) {
      if (errno == EINTR) continue;
      return ERROR_FILE_WRITE;
    }
    bytes += done;
    size -= std::size_t(done);
  }
  return SUCCESS;
}

int AtomicFileWriter::Commit() {
  if (fd_ < 0) return ERROR_FILE_WRITE;
  const bool closed = ::close(fd_) == 0;
  fd_ = -1;
  if (!closed) return ERROR_FILE_WRITE;
  // Opened again by name: encoders and Exiv2 write by name and may have replaced the file.
  const int fd = ::open(Native(temporary_).constData(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return ERROR_FILE_WRITE;
  // A replaced file keeps its permissions: a private photo stays private.
  if (mode_ >= 0) (void)::fchmod(fd, mode_t(mode_));
  const bool synced = ::fsync(fd) == 0;
  ::close(fd);
  if (!synced) return ERROR_FILE_WRITE;
  {
    // Renamed into place only while no signal is being handled, so that a target the
    // caller covers is there before the handler looks, or never.
    const RemoveOnSignal::Creation creating;
    if (RemoveOnSignal::stopping()) return ERROR_FILE_WRITE;
    if (::rename(Native(temporary_).constData(), Native(target_).constData()) != 0)
      return ERROR_FILE_WRITE;
    committed_ = true;
    guard_.reset();
  }
  const QByteArray folder = Native(QFileInfo(target_).absolutePath());
  if (const int dir = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dir >= 0) {
    (void)::fsync(dir);
    ::close(dir);
  }
  return SUCCESS;
}
