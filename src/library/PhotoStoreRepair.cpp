#include "library/PhotoStoreRepair.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSet>

#include "fil/ltfil.h"
#include "krn/ltkrn.h"
#include "library/PhotoEncoding.h"
#include "library/PhotoStore.h"
#include "library/StoreFiles.h"
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
  const QStringList files = QDir(store.Folder()).entryList(QDir::Files | QDir::Hidden, QDir::Unsorted);
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
  return repair;
}
