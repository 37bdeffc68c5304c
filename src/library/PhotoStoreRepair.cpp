#include "library/PhotoStoreRepair.h"

#include <sys/stat.h>

#include <utility>

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSet>

#include "fil/ltfil.h"
#include "krn/ltkrn.h"
#include "library/PhotoEncoding.h"
#include "library/PhotoNames.h"
#include "library/PhotoStore.h"
#include "library/StoreFiles.h"
#include "library/StoreNote.h"
#include "system/LockFile.h"

namespace {
constexpr char kPhotoSuffix[] = ".jpg";
constexpr char kThumbnailMark[] = "_tn";

// A lone "X_tn.jpg" is either photo X's thumbnail left by a delete cut short, or the
// picture of a photo named "X_tn" whose thumbnail never came. Thumbnails fit the
// thumbnail square; a larger picture is a photo.
bool LooksLikeThumbnail(const QString& file) {
  FileInfo info;
  return GetImageFileInfo(file, info) == SUCCESS && info.Width <= kThumbnailSide &&
         info.Height <= kThumbnailSide;
}

bool IsNoteStem(const QString& stem) { return !stem.isEmpty() && UnsafeNameReason(stem).isEmpty(); }

bool HasInode(const QString& path, const QString& inode) {
  struct stat file {};
  return ::stat(NativePath(path).constData(), &file) == 0 && QString::number(file.st_ino) == inode;
}
}  // namespace

int SweepStoreTemporaries(const QString& folder, int minimumAgeSeconds) {
  const LockFile noWriters(StoreWritingLockPath(folder), LockFile::Mode::Exclusive,
                           LockFile::Wait::DontBlock);
  if (!noWriters.isLocked()) return 0;
  const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-minimumAgeSeconds);
  int removed = 0;
  const QFileInfoList files =
      QDir(folder).entryInfoList(QDir::Files | QDir::Hidden | QDir::System, QDir::Unsorted);
  for (const QFileInfo& file : files) {
    if (!IsStoreTemporary(file.fileName()) || file.lastModified().toUTC() > before) continue;
    if (RemoveStoreFile(file.absoluteFilePath())) ++removed;
  }
  return removed;
}

StoreRepair RepairPhotoStore(PhotoStore& store) {
  StoreRepair repair;
  if (!QFileInfo(store.Folder()).isDir()) return repair;
  repair.TemporariesRemoved = SweepStoreTemporaries(store.Folder());

  const LockFile locked = store.LockChanges();
  // A kill between the renames of a replaced photo left the new picture beside the old
  // thumbnail, or the picture of either beside none: the thumbnail is made again.
  const auto list = [&] {
    return QDir(store.Folder()).entryList(QDir::Files | QDir::Hidden, QDir::Unsorted);
  };
  QStringList files = list();
  QStringList moves;
  bool pairsMended = false;
  for (const QString& file : std::as_const(files)) {
    if (!StoreNote::IsNote(file)) continue;
    const QString note = store.Folder() + file;
    const QStringList lines = StoreNote::Read(note);
    if (lines.size() == 5 && lines[0] == QLatin1String("move")) {
      moves << note;
      continue;
    }
    if (lines.size() == 2 && lines[0] == QLatin1String("pair") && IsNoteStem(lines[1]) &&
        QFileInfo::exists(store.PhotoPath(lines[1]))) {
      pairsMended = true;
      if (RemoveStoreFile(store.ThumbnailPath(lines[1])) &&
          store.RemakeThumbnail(locked, lines[1]) == SUCCESS)
        repair.ThumbnailsMade.append(lines[1]);
      else
        repair.Unmended.append(lines[1]);
    }
    RemoveStoreFile(note);
  }

  // A start lists the folder once; only a mended pair changed it since.
  if (pairsMended) files = list();
  const QSet<QString> present(files.begin(), files.end());
  const QLatin1String photoSuffix(kPhotoSuffix);
  const QLatin1String mark(kThumbnailMark);
  for (const QString& file : files) {
    if (!file.endsWith(photoSuffix) || file.size() == photoSuffix.size()) continue;
    const QString stem = file.chopped(photoSuffix.size());
    if (present.contains(stem + mark + photoSuffix)) continue;  // a whole photo
    if (stem.endsWith(mark)) {
      const QString base = stem.chopped(mark.size());
      if (!base.isEmpty() && present.contains(base + photoSuffix)) continue;  // base's thumbnail
      if (!base.isEmpty() && LooksLikeThumbnail(store.Folder() + file)) {
        if (RemoveStoreFile(store.Folder() + file)) repair.ThumbnailsRemoved.append(base);
        continue;
      }
    }
    if (store.RemakeThumbnail(locked, stem) == SUCCESS)
      repair.ThumbnailsMade.append(stem);
    else
      repair.Unmended.append(stem);
  }

  // A rename killed after the copy took the new name: the old files go, as the rename would
  // have removed them, unless either photo has been replaced since.
  for (const QString& note : moves) {
    const QStringList lines = StoreNote::Read(note);
    const QString& oldStem = lines[1];
    const QString& newStem = lines[2];
    if (IsNoteStem(oldStem) && IsNoteStem(newStem) && oldStem != newStem &&
        store.Contains(newStem) && HasInode(store.PhotoPath(oldStem), lines[3]) &&
        HasInode(store.PhotoPath(newStem), lines[4]) && RemoveStoreFile(store.PhotoPath(oldStem)) &&
        RemoveStoreFile(store.ThumbnailPath(oldStem)))
      repair.RenamesFinished.append(oldStem);
    RemoveStoreFile(note);
  }
  return repair;
}
