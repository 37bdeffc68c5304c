#include "library/StoreNote.h"

#include <fcntl.h>
#include <unistd.h>

#include <QFile>
#include <QRandomGenerator>

#include "library/StoreFiles.h"

namespace {
constexpr char kNotePrefix[] = ".brivane-note-";
constexpr char kNoteSuffix[] = ".note";
// The last line: a note without it was cut short before the change began.
constexpr char kNoteEnd[] = "end";
}  // namespace

StoreNote::~StoreNote() {
  if (!path_.isEmpty()) RemoveStoreFile(path_);
}

bool StoreNote::Write(const QString& folder, const QStringList& lines) {
  const QString path = folder + QLatin1String(kNotePrefix) +
                       QString::number(QRandomGenerator::global()->generate64(), 36) +
                       QLatin1String(kNoteSuffix);
  const QByteArray text =
      (lines + QStringList{QLatin1String(kNoteEnd)}).join(QLatin1Char('\n')).toUtf8() + '\n';
  const int fd =
      ::open(NativePath(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  bool written = ::write(fd, text.constData(), static_cast<size_t>(text.size())) == text.size() &&
                 ::fsync(fd) == 0;
  written = ::close(fd) == 0 && written;
  if (!written) {
    RemoveStoreFile(path);
    return false;
  }
  // The note must be on disk before any file it speaks of moves.
  SyncStoreFolder(folder);
  path_ = path;
  return true;
}

bool StoreNote::IsNote(const QString& fileName) {
  return fileName.startsWith(QLatin1String(kNotePrefix)) &&
         fileName.endsWith(QLatin1String(kNoteSuffix));
}

QStringList StoreNote::Read(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  QStringList lines = QString::fromUtf8(file.read(64 * 1024)).split(QLatin1Char('\n'));
  // A whole note ends in the end line and its line break.
  if (lines.size() < 2 || !lines.last().isEmpty() ||
      lines[lines.size() - 2] != QLatin1String(kNoteEnd))
    return {};
  lines.resize(lines.size() - 2);
  return lines;
}
