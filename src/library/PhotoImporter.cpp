#include "library/PhotoImporter.h"

#include <QFileInfo>

#include "fil/ltfil.h"
#include "krn/ltkrn.h"
#include "library/PhotoNames.h"
#include "library/PhotoStore.h"

namespace {
// Enough to number every photo a folder can sensibly hold.
constexpr int kMaxNumberedName = 100000;

void EmptyBitmap(ImageBitmap& bmp) {
  FreeBitmap(bmp);
  InitBitmap(bmp, 0, 0, 0);
}

bool Refuse(ImportResult& result, ImportResult::Status state, const QString& reason) {
  result.State = state;
  result.Reason = reason;
  return false;
}
}  // namespace

PhotoImporter::PhotoImporter(PhotoStore& store, ImageBitmap& working)
    : store_(store), working_(working) {}

QString PhotoImporter::NameForFile(const QString& file) {
  return TrimPhotoName(QFileInfo(file).completeBaseName());
}

QString PhotoImporter::NextFreeName(const QString& name) const {
  for (int number = 2; number <= kMaxNumberedName; ++number) {
    const QString suffix = QStringLiteral(" (%1)").arg(number);
    // The numbered name keeps within the 60-character limit by shortening the base.
    const QString base =
        LeftCharacters(name, kMaxNameLength - CharacterCount(suffix)).trimmed();
    const QString candidate = base + suffix;
    if (!store_.HasFilesFor(StemForName(candidate))) return candidate;
  }
  return {};
}

bool PhotoImporter::CheckFile(const QString& file, ImportResult& result) const {
  result = ImportResult();
  result.Name = NameForFile(file);
  // A name that is not UTF-8 reaches us with replacement characters and no longer names
  // the file on disk; say so rather than "does not exist".
  if (file.contains(QChar::ReplacementCharacter) && !QFileInfo::exists(file))
    return Refuse(result, ImportResult::Status::BadName,
                  QStringLiteral("the file name is not valid UTF-8; rename the file to import it"));
  if (FormatForExtension(FileExtension(file)) == 0)
    return Refuse(result, ImportResult::Status::NotAnImageType,
                  QStringLiteral("'.%1' is not an image file type Brivane knows")
                      .arg(FileExtension(file)));
  if (result.Name.isEmpty())
    return Refuse(result, ImportResult::Status::BadName,
                  QStringLiteral("the file name gives no photo name"));
  if (QString unsafe = UnsafeNameReason(result.Name); !unsafe.isEmpty())
    return Refuse(result, ImportResult::Status::BadName, unsafe);
  if (CharacterCount(result.Name) > kMaxNameLength)
    return Refuse(result, ImportResult::Status::BadName,
                  QStringLiteral("a photo name can be at most %1 characters long").arg(kMaxNameLength));
  // Skipping needs no decoding: decide it first, locked, so a photo another import is
  // halfway through placing is not taken for a stray file.
  if (whenTaken_ == WhenTaken::Skip) {
    const LockFile locked = store_.LockChanges();
    return ChooseName(result);
  }
  return true;
}

bool PhotoImporter::ChooseName(ImportResult& result) const {
  const QString stem = StemForName(result.Name);
  if (const QString other = store_.ClashingPhoto(stem); !other.isEmpty())
    return Refuse(result, ImportResult::Status::BadName,
                  QStringLiteral("the name '%1' cannot be used: its files would be those of the "
                                 "photo '%2'")
                      .arg(result.Name, other));
  if (!store_.HasFilesFor(stem) || whenTaken_ == WhenTaken::Replace) return true;
  if (whenTaken_ == WhenTaken::Skip) {
    if (!store_.Contains(stem))
      return Refuse(result, ImportResult::Status::NameTaken,
                    QStringLiteral("a file of '%1' is in the 'My Photos' folder, though it is "
                                   "not a whole photo")
                        .arg(result.Name));
    return Refuse(result, ImportResult::Status::NameTaken,
                  QStringLiteral("a photo named '%1' is already stored").arg(result.Name));
  }
  const QString numbered = NextFreeName(result.Name);
  if (numbered.isEmpty())
    return Refuse(result, ImportResult::Status::NameTaken,
                  QStringLiteral("no free name like '%1 (2)' is left").arg(result.Name));
  result.Name = numbered;
  return true;
}

bool PhotoImporter::Decode(const QString& file, ImportResult& result) {
  EmptyBitmap(working_);
  FileInfo header;
  result.Code = LoadPictureFile(file, working_, header);
  if (result.Code == SUCCESS) return true;
  EmptyBitmap(working_);
  return Refuse(result, ImportResult::Status::DecodeFailed,
                DescribeFileResult(result.Code, header));
}

bool PhotoImporter::Prepare(ImportResult& result, PreparedPhoto& prepared) {
  result.Code = store_.Prepare(working_, description_, prepared);
  EmptyBitmap(working_);
  if (result.Code == SUCCESS) return true;
  return Refuse(result, ImportResult::Status::StoreFailed, QString::fromUtf8(ResultText(result.Code)));
}

bool PhotoImporter::Place(ImportResult& result, PreparedPhoto& prepared) {
  const LockFile locked = store_.LockChanges();
  if (!ChooseName(result)) return false;
  const PhotoStore::Placing placing = whenTaken_ == WhenTaken::Replace
                                          ? PhotoStore::Placing::Replace
                                          : PhotoStore::Placing::NoReplace;
  result.Code = store_.Place(locked, prepared, StemForName(result.Name), placing);
  if (result.Code == SUCCESS) {
    result.State = ImportResult::Status::Imported;
    return true;
  }
  return Refuse(result, ImportResult::Status::StoreFailed, QString::fromUtf8(ResultText(result.Code)));
}

bool PhotoImporter::Store(ImportResult& result) {
  PreparedPhoto prepared;
  return Prepare(result, prepared) && Place(result, prepared);
}

ImportResult PhotoImporter::Import(const QString& file) {
  ImportResult result;
  if (CheckFile(file, result) && Decode(file, result)) Store(result);
  return result;
}
