#pragma once

#include <memory>
#include <vector>

#include <QSize>

#include "krn/ImageBitmap.h"

// Pictures resampled to the size they are shown at, so that drawing a page again scales
// nothing: an entry holds until its picture is edited, freed or shown at another size.
class ScaledPictureCache {
 public:
  // The picture as shown, resampled to size (area averaging); null for a picture without
  // pixels.
  const ImageBitmap* Scaled(const std::shared_ptr<ImageBitmap>& picture, QSize size);
  // Drops the entries of pictures no longer held or Changed since.
  void Prune();
  void Clear() { entries_.clear(); }
  int Size() const { return int(entries_.size()); }

 private:
  struct Entry {
    std::weak_ptr<ImageBitmap> Picture;
    qint64 PixelsKey = 0;
    QSize Size;
    ImageBitmap Scaled;
  };
  std::vector<Entry> entries_;
};
