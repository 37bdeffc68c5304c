#include "library/PhotoStore.h"

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <future>
#include <optional>
#include <system_error>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include "fil/ltfil.h"
#include "krn/ltkrn.h"
#include "library/PhotoEncoding.h"
#include "library/PhotoNames.h"
#include "library/PhotoStoreTexts.h"
#include "library/StoreFiles.h"
#include "library/StoreNote.h"
#include "system/RemoveOnSignal.h"

namespace {
constexpr char kPhotoSuffix[] = ".jpg";
constexpr char kThumbnailSuffix[] = "_tn.jpg";
constexpr char kThumbnailMark[] = "_tn";

std::filesystem::path FsPath(const QString& path) { return NativePath(path).toStdString(); }

// A stem (or name) names a file in the folder only: nothing with "/" or control
// characters, not "." or "..", not empty.
bool IsUsableStem(const QString& stem) { return !stem.isEmpty() && UnsafeNameReason(stem).isEmpty(); }
}  // namespace

PhotoStore::PhotoStore(QString folder) : folder_(std::move(folder)) {
  if (!folder_.isEmpty() && !folder_.endsWith(QLatin1Char('/'))) folder_ += QLatin1Char('/');
}

bool PhotoStore::EnsureFolder() const { return QDir().mkpath(folder_); }

QString PhotoStore::PhotoPath(const QString& stem) const {
  return folder_ + stem + QLatin1String(kPhotoSuffix);
}

QString PhotoStore::ThumbnailPath(const QString& stem) const {
  return folder_ + stem + QLatin1String(kThumbnailSuffix);
}

bool PhotoStore::Contains(const QString& stem) const {
  return IsUsableStem(stem) && QFileInfo::exists(PhotoPath(stem)) &&
         QFileInfo::exists(ThumbnailPath(stem));
}

bool PhotoStore::HasFilesFor(const QString& stem) const {
  return QFileInfo::exists(PhotoPath(stem)) || QFileInfo::exists(ThumbnailPath(stem));
}

QString PhotoStore::ClashingPhoto(const QString& stem) const {
  const QLatin1String mark(kThumbnailMark);
  if (stem.endsWith(mark) && stem.size() > mark.size()) {
    const QString base = stem.chopped(mark.size());
    if (QFileInfo::exists(PhotoPath(base))) return NameForStem(base);
  }
  if (QFileInfo::exists(ThumbnailPath(stem + mark))) return NameForStem(stem + mark);
  return {};
}

QStringList PhotoStore::Stems() const {
  // Matched case-sensitively: the store writes these exact suffixes, and on Linux
  // "X.JPG" is not the file "X.jpg".
  const QStringList files = QDir(folder_).entryList(QDir::Files | QDir::Hidden, QDir::Unsorted);
  const QSet<QString> present(files.begin(), files.end());
  const QLatin1String thumbnailSuffix(kThumbnailSuffix);
  QStringList stems;
  for (const QString& file : files) {
    if (!file.endsWith(thumbnailSuffix)) continue;
    const QString stem = file.chopped(thumbnailSuffix.size());
    if (!stem.isEmpty() && present.contains(stem + QLatin1String(kPhotoSuffix))) stems.append(stem);
  }
  return stems;
}

QStringList PhotoStore::Names() const {
  QStringList names;
  for (const QString& stem : Stems()) names.append(NameForStem(stem));
  return names;
}

QList<PhotoEntry> PhotoStore::List() const {
  QList<PhotoEntry> entries;
  for (const QString& stem : Stems()) {
    PhotoEntry entry;
    entry.Stem = stem;
    entry.Name = NameForStem(stem);
    const QString thumbnail = ThumbnailPath(stem);
    entry.FileTime = QFileInfo(thumbnail).lastModified().toSecsSinceEpoch();
    entry.Description = ReadPhotoDescription(thumbnail);
    entries.append(entry);
  }
  std::sort(entries.begin(), entries.end(), [](const PhotoEntry& a, const PhotoEntry& b) {
    if (a.FileTime != b.FileTime) return a.FileTime > b.FileTime;
    return a.Name.compare(b.Name, Qt::CaseInsensitive) < 0;
  });
  return entries;
}

NameCheck PhotoStore::CheckName(const QString& typed) const {
  NameCheck check = CheckPhotoName(typed, Names());
  if (!check.accepted()) return check;
  if (const QString other = ClashingPhoto(StemForName(check.Name)); !other.isEmpty()) {
    check.Verdict = NameVerdict::Taken;
    check.Message = QString::fromLatin1(PhotoStoreTexts::kNameClashes).arg(check.Name, other);
    return check;
  }
  // Storing overwrites without a question, so files that are not a listed photo (a lone
  // picture, or another photo's thumbnail when the name ends in "_tn") make the name taken.
  if (check.accepted() && HasFilesFor(StemForName(check.Name))) {
    check.Verdict = NameVerdict::Taken;
    check.Message = QString::fromLatin1(PhotoStoreTexts::kNameTaken).arg(check.Name);
  }
  return check;
}

LockFile PhotoStore::LockChanges() const {
  return LockFile(StoreLockPath(folder_), LockFile::Mode::Exclusive);
}

PreparedPhoto PhotoStore::StartPrepared() const {
  PreparedPhoto prepared;
  prepared.writing_.emplace(StoreWritingLockPath(folder_), LockFile::Mode::Shared);
  return prepared;
}

int PhotoStore::Prepare(ImageBitmap& working, const QString& description, PreparedPhoto& prepared) {
  prepared = PreparedPhoto();
  if (!working.hasPixels() || working.isEmpty()) return ERROR_NO_BITMAP;
  EnsureFolder();

  PreparedPhoto made = StartPrepared();
  const QString photoTemp = NewStoreTemporary(folder_);
  const QString thumbnailTemp = NewStoreTemporary(folder_);
  made.AdoptPhoto(photoTemp);
  made.AdoptThumbnail(thumbnailTemp);
  const int bits = PhotoBitsPerPixel(working.BitsPerPixel);
  const bool photoFails = Fails(Step::WritePhoto);
  const SaveComments comments = StoreComments(description);
  // The full-size encode and the thumbnail are independent, so they run side by side;
  // `full` shares the pixels, and the resize below makes new ones instead of writing them.
  const ImageBitmap full = working;
  auto savePhoto = [&] {
    return photoFails ? int(ERROR_FILE_WRITE)
                      : SaveImageFile(photoTemp, full, kPhotoFileFormat, bits, kPhotoQualityFactor,
                                      comments);
  };
  std::future<int> photoSaved;
  try {
    photoSaved = std::async(std::launch::async, savePhoto);
  } catch (const std::system_error&) {
    photoSaved = std::async(std::launch::deferred, savePhoto);
  }

  const QSize thumbnail = ThumbnailSize(working.Width, working.Height);
  int thumbnailResult = ResizeBitmap(working, thumbnail.width(), thumbnail.height());
  if (thumbnailResult == SUCCESS)
    thumbnailResult = Fails(Step::WriteThumbnail)
                          ? ERROR_FILE_WRITE
                          : SaveImageFile(thumbnailTemp, working, kPhotoFileFormat, bits,
                                          kPhotoQualityFactor, comments);
  const int photoResult = photoSaved.get();
  int result = photoResult != SUCCESS ? photoResult : thumbnailResult;
  // Stopped by a signal whose handler may have passed our files before they were made.
  if (result == SUCCESS && RemoveOnSignal::stopping()) result = ERROR_USER_ABORT;
  if (result != SUCCESS) {
    // A failed store hands the caller back the picture it gave.
    working = full;
    return result;
  }
  prepared = std::move(made);
  return SUCCESS;
}

int PhotoStore::Place(const LockFile&, PreparedPhoto& prepared, const QString& stem,
                      Placing placing) {
  if (!IsUsableStem(stem) || !prepared.IsReady()) {
    prepared.Discard();
    return ERROR_INV_PARAMETER;
  }
  // Checked here as well as by the name checks: whatever the flags, a photo never
  // overwrites another photo's files.
  if (!ClashingPhoto(stem).isEmpty()) {
    prepared.Discard();
    return ERROR_FILE_EXISTS;
  }
  const int result = placing == Placing::Replace ? PlaceReplacing(prepared, stem)
                                                 : PlaceWithoutReplacing(prepared, stem);
  prepared.Discard();
  if (result == SUCCESS) SyncStoreFolder(folder_);
  return result;
}

int PhotoStore::PlaceReplacing(PreparedPhoto& prepared, const QString& stem) {
  const QString photoPath = PhotoPath(stem);
  const QString thumbnailPath = ThumbnailPath(stem);

  // Between the two renames below the new picture stands beside the old thumbnail: should
  // we die there, the note has the next start make the thumbnail again from the picture.
  StoreNote replacing;
  if (HasFilesFor(stem) && !replacing.Write(folder_, {QStringLiteral("pair"), stem}))
    return ERROR_FILE_WRITE;

  // A second name for the photo being replaced, so it can come back if the thumbnail
  // cannot follow the new photo into place.
  QString backup;
  std::optional<RemoveOnSignal> backupGuard;
  if (QFileInfo::exists(photoPath)) {
    // A signal being handled waits for the backup to be made and covered, or never made.
    const RemoveOnSignal::Creation creating;
    if (RemoveOnSignal::stopping()) return ERROR_USER_ABORT;
    backup = NewStoreTemporary(folder_);
    backupGuard.emplace(backup, RemoveOnSignal::Kind::File);
    if (::link(NativePath(photoPath).constData(), NativePath(backup).constData()) != 0) {
      std::error_code error;
      std::filesystem::copy_file(FsPath(photoPath), FsPath(backup), error);
      if (error) {
        RemoveStoreFile(backup);
        return ERROR_FILE_WRITE;
      }
    }
    if (RemoveOnSignal::stopping()) {
      RemoveStoreFile(backup);
      return ERROR_USER_ABORT;
    }
  }

  KeepStoreFileMode(photoPath, prepared.photo_);
  KeepStoreFileMode(thumbnailPath, prepared.thumbnail_);

  int result = SUCCESS;
  if (Fails(Step::PlacePhoto) || !MoveStoreFile(prepared.photo_, photoPath)) {
    result = ERROR_FILE_WRITE;
  } else if (Fails(Step::PlaceThumbnail) || !MoveStoreFile(prepared.thumbnail_, thumbnailPath)) {
    result = ERROR_FILE_WRITE;
    // Back to the old photo; with none, the new photo goes too. Should even that move
    // fail, the new photo stays: a stale thumbnail is better than no picture.
    if (backup.isEmpty())
      RemoveStoreFile(photoPath);
    else
      MoveStoreFile(backup, photoPath);
  }
  if (!backup.isEmpty()) RemoveStoreFile(backup);
  return result;
}

int PhotoStore::PlaceWithoutReplacing(PreparedPhoto& prepared, const QString& stem) {
  const QString photoPath = PhotoPath(stem);
  const QString thumbnailPath = ThumbnailPath(stem);
  // A lone thumbnail in the way is found before the photo moves, not after.
  if (QFileInfo::exists(thumbnailPath)) return ERROR_FILE_EXISTS;
  if (Fails(Step::PlacePhoto)) return ERROR_FILE_WRITE;
  switch (MoveStoreFileWithoutReplacing(prepared.photo_, photoPath)) {
    case MoveOutcome::Moved: break;
    case MoveOutcome::Exists: return ERROR_FILE_EXISTS;
    case MoveOutcome::Failed: return ERROR_FILE_WRITE;
  }
  const MoveOutcome thumbnail = Fails(Step::PlaceThumbnail)
                                    ? MoveOutcome::Failed
                                    : MoveStoreFileWithoutReplacing(prepared.thumbnail_, thumbnailPath);
  if (thumbnail == MoveOutcome::Moved) return SUCCESS;
  // The photo placed above is ours alone: nothing else may write under a name it did not take.
  RemoveStoreFile(photoPath);
  return thumbnail == MoveOutcome::Exists ? ERROR_FILE_EXISTS : ERROR_FILE_WRITE;
}

int PhotoStore::StorePhoto(ImageBitmap& working, const QString& name,
                           const QString& description, Placing placing) {
  return StoreUnderStem(working, StemForName(name), description, placing);
}

int PhotoStore::StoreUnderStem(ImageBitmap& working, const QString& stem,
                               const QString& description, Placing placing) {
  if (!IsUsableStem(stem)) return ERROR_INV_PARAMETER;
  // Shares the pixels; kept so that a photo refused its place goes back to the caller.
  const ImageBitmap given = working;
  PreparedPhoto prepared;
  if (const int result = Prepare(working, description, prepared); result != SUCCESS) return result;
  const LockFile locked = LockChanges();
  const int result = Place(locked, prepared, stem, placing);
  if (result != SUCCESS) working = given;
  return result;
}

int PhotoStore::RemakeThumbnail(const LockFile&, const QString& stem) {
  if (!IsUsableStem(stem)) return ERROR_INV_PARAMETER;
  ImageBitmap picture;
  int result = LoadPictureFile(PhotoPath(stem), picture);
  PreparedPhoto prepared = StartPrepared();
  prepared.AdoptThumbnail(NewStoreTemporary(folder_));
  if (result == SUCCESS) {
    const QSize size = ThumbnailSize(picture.Width, picture.Height);
    result = ResizeBitmap(picture, size.width(), size.height());
  }
  if (result == SUCCESS)
    result = SaveImageFile(prepared.thumbnail_, picture, kPhotoFileFormat,
                           PhotoBitsPerPixel(picture.BitsPerPixel), kPhotoQualityFactor,
                           StoreComments(ReadPhotoDescription(PhotoPath(stem))));
  FreeBitmap(picture);
  if (result != SUCCESS) return result;
  switch (MoveStoreFileWithoutReplacing(prepared.thumbnail_, ThumbnailPath(stem))) {
    case MoveOutcome::Moved: SyncStoreFolder(folder_); return SUCCESS;
    case MoveOutcome::Exists: return ERROR_FILE_EXISTS;
    case MoveOutcome::Failed: break;
  }
  return ERROR_FILE_WRITE;
}

int PhotoStore::LoadPhoto(ImageBitmap& working, const QString& stem) const {
  if (!IsUsableStem(stem)) return ERROR_INV_PARAMETER;
  return LoadPictureFile(PhotoPath(stem), working);
}

QString PhotoStore::ReadDescription(const QString& stem) const {
  if (!IsUsableStem(stem)) return {};
  return ReadPhotoDescription(PhotoPath(stem));
}

int PhotoStore::EditComment(ImageBitmap& working, const QString& stem,
                            const QString& description) {
  // Under the stem as it stands: a stem from elsewhere with a single "&" would otherwise
  // turn into a second photo instead of keeping its files.
  return StoreUnderStem(working, stem, description);
}

int PhotoStore::ReplacePicture(ImageBitmap& working, const QString& stem) {
  return StoreUnderStem(working, stem, ReadDescription(stem));
}

int PhotoStore::Rename(const QString& oldStem, const QString& newName) {
  const QString newStem = StemForName(newName);
  if (!IsUsableStem(oldStem) || !IsUsableStem(newStem)) return ERROR_INV_PARAMETER;
  // Copying a photo onto itself and then deleting "the old one" would lose it.
  if (newStem == oldStem) return SUCCESS;
  if (!Contains(oldStem)) return ERROR_FILE_NOT_FOUND;

  // Copies keep the file times, so the renamed photo sorts where the old one was. Each
  // copy belongs to `prepared` from its start, so it goes on failure and on a signal too.
  PreparedPhoto prepared = StartPrepared();
  auto copyAside = [&](const QString& from, Step step, void (PreparedPhoto::*adopt)(const QString&)) {
    if (Fails(step)) return false;
    const QString temp = NewStoreTemporary(folder_);
    (prepared.*adopt)(temp);
    std::error_code error;
    {
      // A signal being handled waits for the copy to begin covered, or never begin.
      const RemoveOnSignal::Creation creating;
      if (RemoveOnSignal::stopping()) return false;
      std::filesystem::copy_file(FsPath(from), FsPath(temp), error);
      if (RemoveOnSignal::stopping()) {
        RemoveStoreFile(temp);
        return false;
      }
    }
    std::filesystem::file_time_type time;
    if (!error) time = std::filesystem::last_write_time(FsPath(from), error);
    if (!error) std::filesystem::last_write_time(FsPath(temp), time, error);
    return !error && SyncStoreFile(temp) && !RemoveOnSignal::stopping();
  };
  if (!copyAside(PhotoPath(oldStem), Step::WritePhoto, &PreparedPhoto::AdoptPhoto) ||
      !copyAside(ThumbnailPath(oldStem), Step::WriteThumbnail, &PreparedPhoto::AdoptThumbnail))
    return ERROR_FILE_WRITE;

  const LockFile locked = LockChanges();
  // Once the new name holds the copy the old files must go: should we die before they
  // have, the note has the next start remove them. It knows both photos by their inodes,
  // so it never removes a photo stored under the old name since.
  struct stat copy {};
  struct stat old {};
  StoreNote moving;
  if (::stat(NativePath(prepared.photo_).constData(), &copy) != 0 ||
      ::stat(NativePath(PhotoPath(oldStem)).constData(), &old) != 0 ||
      !moving.Write(folder_, {QStringLiteral("move"), oldStem, newStem, QString::number(old.st_ino),
                              QString::number(copy.st_ino)}))
    return ERROR_FILE_WRITE;
  if (const int result = Place(locked, prepared, newStem, Placing::Replace); result != SUCCESS)
    return result;

  // On a folder that ignores case "Tommy" and "tommy" are one file: nothing to delete.
  std::error_code error;
  if (std::filesystem::equivalent(FsPath(PhotoPath(oldStem)), FsPath(PhotoPath(newStem)), error))
    return SUCCESS;
  if (Fails(Step::RemoveOld)) return ERROR_FILE_WRITE;
  return DeleteLocked(oldStem);
}

int PhotoStore::Delete(const QString& stem) {
  if (!IsUsableStem(stem)) return ERROR_INV_PARAMETER;
  const LockFile locked = LockChanges();
  return DeleteLocked(stem);
}

int PhotoStore::DeleteLocked(const QString& stem) {
  const bool photoGone = RemoveStoreFile(PhotoPath(stem));
  const bool thumbnailGone = RemoveStoreFile(ThumbnailPath(stem));
  return photoGone && thumbnailGone ? SUCCESS : ERROR_FILE_WRITE;
}
