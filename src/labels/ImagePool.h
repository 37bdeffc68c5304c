#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "krn/ImageBitmap.h"

// Pictures shared between the cells of a page: a picture given to several cells is held
// once, and an edit of it shows in every cell that holds it. A pooled picture is reused
// only for a picture equal to it in size, depth and every pixel; it lives as long as a
// cell holds it and no longer.
class ImagePool {
 public:
  // The pooled picture equal to this one, or a new entry sharing its pixels.
  std::shared_ptr<ImageBitmap> Share(const ImageBitmap& picture);
  // The same, for a picture whose Fingerprint is known.
  std::shared_ptr<ImageBitmap> Share(const ImageBitmap& picture, std::size_t fingerprint);
  // The picture of this entry was Changed in place: it is looked up by its new pixels.
  void Changed(const std::shared_ptr<ImageBitmap>& picture);
  // Pictures some cell still holds.
  int Size() const;

  // What the pool compares first: size, depth and a hash of every pixel byte.
  static std::size_t Fingerprint(const ImageBitmap& picture);
  static bool SamePicture(const ImageBitmap& a, const ImageBitmap& b);

 private:
  struct Entry {
    std::weak_ptr<ImageBitmap> Picture;
    std::size_t Key;
  };
  void Prune();

  std::vector<Entry> entries_;
};
