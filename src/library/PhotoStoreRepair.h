#pragma once

#include <QString>
#include <QStringList>

class PhotoStore;

// What starting on a store found half done by a crash or a kill, and how it was mended.
struct StoreRepair {
  QStringList ThumbnailsMade;     // stems whose photo had no thumbnail
  QStringList ThumbnailsRemoved;  // stems whose thumbnail had lost its photo
  int TemporariesRemoved = 0;     // stale hidden temporaries of stores that were stopped
  QStringList Unmended;           // stems left as they were: a photo that cannot be read
  QStringList RenamesFinished;    // old stems of renames that had placed the new name's files

  bool mendedAnything() const {
    return !ThumbnailsMade.isEmpty() || !ThumbnailsRemoved.isEmpty() || TemporariesRemoved > 0 ||
           !RenamesFinished.isEmpty();
  }
};

// Run at start, by the program and by each `brivane` command: a photo whose thumbnail
// never came (a kill between the two renames) gets it made again, as does one whose
// picture was replaced while its thumbnail was not yet; a thumbnail whose photo is gone
// (a delete cut short) is removed; a rename cut short once the new name had its files
// loses the old ones; temporaries older than a minute are removed when no other process
// is writing to the store. Afterwards every listing, import and delete sees the same
// photos. Runs with the store locked, so it never touches the files of a store in
// progress.
StoreRepair RepairPhotoStore(PhotoStore& store);

// Removes the store's temporaries older than `minimumAgeSeconds`, unless another process
// holds some (it then waits for a later start). Returns how many went.
int SweepStoreTemporaries(const QString& folder, int minimumAgeSeconds = 60);
