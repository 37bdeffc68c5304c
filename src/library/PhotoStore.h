#pragma once

#include <functional>

#include <QList>
#include <QString>
#include <QStringList>

#include "krn/ImageBitmap.h"
#include "library/NameCheck.h"
#include "library/PhotoEntry.h"

// The user's photos: plain files in one folder, two JPEGs a photo (stem + ".jpg" and
// stem + "_tn.jpg") carrying the description as comment type 3. There is no index: the
// folder is the store, and a file belongs to it when its name ends in "_tn.jpg" and the
// matching stem + ".jpg" exists.
//
// The store keeps no state but its folder. Operations that pass a picture take the
// caller's working bitmap (the main window owns it); results are the imaging library's
// codes (SUCCESS or a negative ResultCode).
class PhotoStore {
 public:
  // The points at which writing a photo can fail; the fault hook names them to tests.
  enum class Step { WritePhoto, WriteThumbnail, PlacePhoto, PlaceThumbnail, RemoveOld };
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
  // The stems of all photos, in no particular order; one directory listing.
  QStringList Stems() const;
  QStringList Names() const;
  // Every photo with its file time and description, newest first (equal times by name).
  QList<PhotoEntry> List() const;

  // The name check of the naming pages and Rename: the typed text against every stored
  // name, and refused as well when the files of its stem are already on disk.
  NameCheck CheckName(const QString& typed) const;

  // Writes the working bitmap as the photo of that name with the description (cut to 255
  // characters; none when empty), overwriting a photo of the same name. Afterwards the
  // working bitmap holds the thumbnail. Either the complete new pair is in place or,
  // on failure, the old pair (or nothing) is, and no temporary file is left. Stores on
  // several threads at once each write their own description.
  int StorePhoto(ImageBitmap& working, const QString& name, const QString& description);
  // StorePhoto under a stem as it stands, for photos re-stored where they are.
  int StoreUnderStem(ImageBitmap& working, const QString& stem, const QString& description);
  // Decodes stem + ".jpg" into the working bitmap with the general loader.
  int LoadPhoto(ImageBitmap& working, const QString& stem) const;
  // The description of stem + ".jpg"; "" when it has none.
  QString ReadDescription(const QString& stem) const;
  // Stores the working bitmap (the decoded photo) again under its own stem with the new
  // description.
  int EditComment(ImageBitmap& working, const QString& stem, const QString& description);
  // Copies both files to the new name's stem (replacing files there, keeping their file
  // times so the photo keeps its place in the list), then deletes the old ones. When the
  // copy fails the old files stay and nothing half-made is left.
  int Rename(const QString& oldStem, const QString& newName);
  // Deletes the photo file, then the thumbnail. SUCCESS when neither is left.
  int Delete(const QString& stem);

  void SetFaultHook(FaultHook hook) { faultHook_ = std::move(hook); }

 private:
  bool Fails(Step step) const { return faultHook_ && faultHook_(step); }
  QString NewTemporaryPath() const;
  // Moves two finished temporaries into place as the stem's pair, restoring the old pair
  // when the second move fails. Removes the temporaries in every case.
  int PlacePair(const QString& photoTemp, const QString& thumbnailTemp, const QString& stem);
  void SyncFolder() const;

  QString folder_;
  FaultHook faultHook_;
};
