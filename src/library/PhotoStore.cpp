#include "library/PhotoStore.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <future>
#include <system_error>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSet>

#include "fil/ltfil.h"
#include "krn/ltkrn.h"
#include "library/PhotoEncoding.h"
#include "library/PhotoNames.h"
#include "library/PhotoStoreTexts.h"

namespace {
constexpr char kPhotoSuffix[] = ".jpg";
constexpr char kThumbnailSuffix[] = "_tn.jpg";

QByteArray Native(const QString& path) { return QFile::encodeName(path); }
std::filesystem::path FsPath(const QString& path) { return Native(path).toStdString(); }

bool RemoveFile(const QString& path) {
  return ::unlink(Native(path).constData()) == 0 || errno == ENOENT;
}

bool MoveFile(const QString& from, const QString& to) {
  return ::rename(Native(from).constData(), Native(to).constData()) == 0;
}

bool SyncFile(const QString& path) {
  const int fd = ::open(Native(path).constData(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool synced = ::fsync(fd) == 0;
  ::close(fd);
  return synced;
}

void KeepMode(const QString& existing, const QString& replacement) {
  struct stat old {};
  if (::stat(Native(existing).constData(), &old) == 0)
    (void)::chmod(Native(replacement).constData(), old.st_mode & 07777);
}

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
  // Storing overwrites without a question, so files that are not a listed photo (a lone
  // picture, or another photo's thumbnail when the name ends in "_tn") make the name taken.
  if (check.accepted() && HasFilesFor(StemForName(check.Name))) {
    check.Verdict = NameVerdict::Taken;
    check.Message = QString::fromLatin1(PhotoStoreTexts::kNameTaken).arg(check.Name);
  }
  return check;
}

QString PhotoStore::NewTemporaryPath() const {
  // Hidden, and not ending in ".jpg", so no listing ever takes a half-written file for a photo.
  const quint64 token = QRandomGenerator::global()->generate64();
  return folder_ + QLatin1String(".brivane-") + QString::number(token, 36) + QLatin1String(".tmp");
}

void PhotoStore::SyncFolder() const {
  const int fd = ::open(Native(folder_).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

int PhotoStore::PlacePair(const QString& photoTemp, const QString& thumbnailTemp,
                          const QString& stem) {
  const QString photoPath = PhotoPath(stem);
  const QString thumbnailPath = ThumbnailPath(stem);

  // A second name for the photo being replaced, so it can come back if the thumbnail
  // cannot follow the new photo into place.
  QString backup;
  if (QFileInfo::exists(photoPath)) {
    backup = NewTemporaryPath();
    if (::link(Native(photoPath).constData(), Native(backup).constData()) != 0) {
      std::error_code error;
      std::filesystem::copy_file(FsPath(photoPath), FsPath(backup), error);
      if (error) {
        RemoveFile(backup);
        RemoveFile(photoTemp);
        RemoveFile(thumbnailTemp);
        return ERROR_FILE_WRITE;
      }
    }
  }

  // Replaced files keep their permissions: a private photo stays private.
  KeepMode(photoPath, photoTemp);
  KeepMode(thumbnailPath, thumbnailTemp);

  int result = SUCCESS;
  if (Fails(Step::PlacePhoto) || !MoveFile(photoTemp, photoPath)) {
    result = ERROR_FILE_WRITE;
  } else if (Fails(Step::PlaceThumbnail) || !MoveFile(thumbnailTemp, thumbnailPath)) {
    result = ERROR_FILE_WRITE;
    // Back to the old photo; with none, the new photo goes too. Should even that move
    // fail, the new photo stays: a stale thumbnail is better than no picture.
    if (backup.isEmpty())
      RemoveFile(photoPath);
    else
      MoveFile(backup, photoPath);
  }
  RemoveFile(photoTemp);
  RemoveFile(thumbnailTemp);
  if (!backup.isEmpty()) RemoveFile(backup);
  if (result == SUCCESS) SyncFolder();
  return result;
}

int PhotoStore::StorePhoto(ImageBitmap& working, const QString& name,
                           const QString& description) {
  return StoreUnderStem(working, StemForName(name), description);
}

int PhotoStore::StoreUnderStem(ImageBitmap& working, const QString& stem,
                               const QString& description) {
  if (!IsUsableStem(stem)) return ERROR_INV_PARAMETER;
  if (!working.hasPixels() || working.isEmpty()) return ERROR_NO_BITMAP;
  EnsureFolder();

  const QString photoTemp = NewTemporaryPath();
  const QString thumbnailTemp = NewTemporaryPath();
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
  const int result = photoResult != SUCCESS ? photoResult : thumbnailResult;
  if (result != SUCCESS) {
    // A failed store hands the caller back the picture it gave.
    working = full;
    RemoveFile(photoTemp);
    RemoveFile(thumbnailTemp);
    return result;
  }
  return PlacePair(photoTemp, thumbnailTemp, stem);
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

int PhotoStore::Rename(const QString& oldStem, const QString& newName) {
  const QString newStem = StemForName(newName);
  if (!IsUsableStem(oldStem) || !IsUsableStem(newStem)) return ERROR_INV_PARAMETER;
  // Copying a photo onto itself and then deleting "the old one" would lose it.
  if (newStem == oldStem) return SUCCESS;
  if (!Contains(oldStem)) return ERROR_FILE_NOT_FOUND;

  // Copies keep the file times, so the renamed photo sorts where the old one was.
  auto copyAside = [this](const QString& from, Step step) -> QString {
    if (Fails(step)) return {};
    const QString temp = NewTemporaryPath();
    std::error_code error;
    std::filesystem::copy_file(FsPath(from), FsPath(temp), error);
    std::filesystem::file_time_type time;
    if (!error) time = std::filesystem::last_write_time(FsPath(from), error);
    if (!error) std::filesystem::last_write_time(FsPath(temp), time, error);
    if (error || !SyncFile(temp)) {
      RemoveFile(temp);
      return {};
    }
    return temp;
  };
  const QString photoTemp = copyAside(PhotoPath(oldStem), Step::WritePhoto);
  if (photoTemp.isEmpty()) return ERROR_FILE_WRITE;
  const QString thumbnailTemp = copyAside(ThumbnailPath(oldStem), Step::WriteThumbnail);
  if (thumbnailTemp.isEmpty()) {
    RemoveFile(photoTemp);
    return ERROR_FILE_WRITE;
  }
  if (const int result = PlacePair(photoTemp, thumbnailTemp, newStem); result != SUCCESS)
    return result;

  // On a folder that ignores case "Tommy" and "tommy" are one file: nothing to delete.
  std::error_code error;
  if (std::filesystem::equivalent(FsPath(PhotoPath(oldStem)), FsPath(PhotoPath(newStem)), error))
    return SUCCESS;
  if (Fails(Step::RemoveOld)) return ERROR_FILE_WRITE;
  return Delete(oldStem);
}

int PhotoStore::Delete(const QString& stem) {
  if (!IsUsableStem(stem)) return ERROR_INV_PARAMETER;
  const bool photoGone = RemoveFile(PhotoPath(stem));
  const bool thumbnailGone = RemoveFile(ThumbnailPath(stem));
  return photoGone && thumbnailGone ? SUCCESS : ERROR_FILE_WRITE;
}
