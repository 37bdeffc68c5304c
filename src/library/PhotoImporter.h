#pragma once

#include <QString>

#include "krn/ImageBitmap.h"
#include "library/ImportResult.h"
#include "library/PreparedPhoto.h"

class PhotoStore;

// Imports picture files into the store the way a drop on the main window does: only
// files whose extension is in the image file-type table, named after the file without
// folder and extension, decoded through the working bitmap and stored as a photo.
//
// A name that is already stored is never replaced silently: by default the file is
// skipped; the caller may choose to replace the photo or to store under the next free
// "Name (2)", "Name (3)" ...
class PhotoImporter {
 public:
  enum class WhenTaken { Skip, Replace, Rename };

  PhotoImporter(PhotoStore& store, ImageBitmap& working);

  void SetDescription(const QString& description) { description_ = description; }
  const QString& Description() const { return description_; }
  void SetWhenTaken(WhenTaken policy) { whenTaken_ = policy; }
  WhenTaken GetWhenTaken() const { return whenTaken_; }

  // The photo name a file would be stored under: its file name without folder and
  // extension, without blanks at either end.
  static QString NameForFile(const QString& file);

  // Runs the steps below in turn.
  ImportResult Import(const QString& file);

  // The steps of Import, for importing several files at once. Each fills in `result`
  // and returns false when the file is not to be imported.
  // The type and name of the file; with the Skip policy, whether its name is stored.
  bool CheckFile(const QString& file, ImportResult& result) const;
  // The final name under the policy, from the files on disk. A name whose files would be
  // another photo's is refused under every policy.
  bool ChooseName(ImportResult& result) const;
  // Decodes the file into the working bitmap.
  bool Decode(const QString& file, ImportResult& result);
  // Stores the working bitmap with the description, then empties the working bitmap:
  // Prepare and Place in turn.
  bool Store(ImportResult& result);
  // Encodes the working bitmap into temporaries of the store and empties it.
  bool Prepare(ImportResult& result, PreparedPhoto& prepared);
  // With the store locked against other writers, chooses the final name (ChooseName)
  // and places the prepared photo under it; a name taken meanwhile by another process is
  // never replaced unless the policy is Replace.
  bool Place(ImportResult& result, PreparedPhoto& prepared);

 private:
  QString NextFreeName(const QString& name) const;

  PhotoStore& store_;
  ImageBitmap& working_;
  QString description_;
  WhenTaken whenTaken_ = WhenTaken::Skip;
};
