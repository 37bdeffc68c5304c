#pragma once

#include <functional>

#include <QList>
#include <QString>
#include <QStringList>

#include "krn/ImageBitmap.h"
#include "library/NameCheck.h"
#include "library/PhotoEntry.h"
#include "library/PreparedPhoto.h"
#include "system/LockFile.h"

// The user's photos: plain files in one folder, two JPEGs a photo (stem + ".jpg" and
// stem + "_tn.jpg") carrying the description as comment type 3. There is no index: the
// folder is the store, and a file belongs to it when its name ends in "_tn.jpg" and the
// matching stem + ".jpg" exists.
//
// The store keeps no state but its folder. Operations that pass a picture take the
// caller's working bitmap (the main window owns it); results are the imaging library's
// codes (SUCCESS or a negative ResultCode).
//
// Several processes (the program, `brivane` runs) may use one folder at once. Encoding
// runs in parallel into hidden temporaries; choosing a name and placing, renaming or
// deleting files happen with the store locked (LockChanges), so no two writers ever pick
// the same free name or mix their pairs.
class PhotoStore {
 public:
  // The points at which writing a photo can fail; the fault hook names them to tests.
  enum class Step { WritePhoto, WriteThumbnail, PlacePhoto, PlaceThumbnail, RemoveOld };
  // Whether placing a photo may replace files already under its stem.
  enum class Placing { Replace, NoReplace };
  // Returns true to make the operation fail at that step as a full disk would.
  using FaultHook = std::function<bool(Step)>;

  // folder: the My Photos folder, ending in "/".
  explicit PhotoStore(QString folder);

  const QString& Folder() const { return folder_; }
  // Creates the folder when it is missing.
  bool EnsureFolder() const;
  QString PhotoPath(const QString& stem) const;
  QString ThumbnailPath(const QString& stem) const;

  // Whether both files of the stem exist.
  bool Contains(const QString& stem) const;
  // Whether either file of the stem exists, so storing under it would replace something.
  bool HasFilesFor(const QString& stem) const;
  // The photo whose files storing under the stem would overwrite, or "" when none would:
  // stem "X_tn" writes "X_tn.jpg", photo X's thumbnail; stem "X" writes "X_tn.jpg", the
  // picture of a photo named "X_tn". Such a stem is never stored, whatever the caller asks.
  QString ClashingPhoto(const QString& stem) const;
  // The stems of all photos, in no particular order; one directory listing.
  QStringList Stems() const;
  QStringList Names() const;
  // Every photo with its file time and description, newest first (equal times by name).
  QList<PhotoEntry> List() const;

  // The name check of the naming pages and Rename: the typed text against every stored
  // name, and refused as well when the files of its stem are already on disk.
  NameCheck CheckName(const QString& typed) const;

  // Writes the working bitmap as the photo of that name with the description (cut to 255
  // characters; none when empty). Replace overwrites a photo of the same name; NoReplace
  // fails with ERROR_FILE_EXISTS when either file of the stem is there. Afterwards the
  // working bitmap holds the thumbnail. Either the complete new pair is in place or,
  // on failure, the old pair (or nothing) is, and no temporary file is left. Stores on
  // several threads at once each write their own description.
  int StorePhoto(ImageBitmap& working, const QString& name, const QString& description,
                 Placing placing = Placing::Replace);
  // StorePhoto under a stem as it stands, for photos re-stored where they are.
  int StoreUnderStem(ImageBitmap& working, const QString& stem, const QString& description,
                     Placing placing = Placing::Replace);

  // StorePhoto in two steps, for callers that choose the name only once the files are
  // written. Prepare encodes the pair into temporaries; afterwards the working bitmap holds
  // the thumbnail, or on failure the picture it held.
  int Prepare(ImageBitmap& working, const QString& description, PreparedPhoto& prepared);
  // Locks the store against every other writer's name choice and file placing, until the
  // returned lock goes.
  LockFile LockChanges() const;
  // With LockChanges held: places the prepared pair under the stem, as StorePhoto does.
  int Place(const LockFile& locked, PreparedPhoto& prepared, const QString& stem, Placing placing);
  // With LockChanges held: makes the stem's thumbnail again from its photo, when a crash
  // left the photo without one. Never replaces a file.
  int RemakeThumbnail(const LockFile& locked, const QString& stem);

  // Decodes stem + ".jpg" into the working bitmap with the general loader.
  int LoadPhoto(ImageBitmap& working, const QString& stem) const;
  // The description of stem + ".jpg"; "" when it has none.
  QString ReadDescription(const QString& stem) const;
  // Stores the working bitmap (the decoded photo) again under its own stem with the new
  // description.
  int EditComment(ImageBitmap& working, const QString& stem, const QString& description);
  // Stores an edited picture (in the working bitmap) as the photo of the stem again,
  // keeping the description it has.
  int ReplacePicture(ImageBitmap& working, const QString& stem);
  // Copies both files to the new name's stem (replacing files there, keeping their file
  // times so the photo keeps its place in the list), then deletes the old ones. When the
  // copy fails the old files stay and nothing half-made is left.
  int Rename(const QString& oldStem, const QString& newName);
  // Deletes the photo file, then the thumbnail, whichever of them exist. SUCCESS when
  // neither is left.
  int Delete(const QString& stem);

  void SetFaultHook(FaultHook hook) { faultHook_ = std::move(hook); }

 private:
  bool Fails(Step step) const { return faultHook_ && faultHook_(step); }
  // An empty prepared photo holding the writing lock, ready to take temporaries.
  PreparedPhoto StartPrepared() const;
  int PlaceReplacing(PreparedPhoto& prepared, const QString& stem);
  int PlaceWithoutReplacing(PreparedPhoto& prepared, const QString& stem);
  int DeleteLocked(const QString& stem);

  QString folder_;
  FaultHook faultHook_;
};
