#pragma once

#include <memory>
#include <vector>

#include <QSize>

#include "krn/ImageBitmap.h"

// Pictures resampled to the size they are shown at, so that drawing a page again scales
// nothing. Each picture is first reduced once to what a screen can show, so that a new
// size (a resized window, another template) is made from that, not from the whole
// photo. Entries hold until their picture is edited, freed or shown at other sizes.
class ScaledPictureCache {
 public:
  // The longest side a reduced picture keeps: a large label on a large screen. A picture
  // shown larger is scaled from the whole photo.
  static constexpr int kReducedSide = 1024;

  // The picture as stored, no longer than kReducedSide a side; itself when smaller. Safe
  // on any thread, so that the work can be done where the picture is decoded.
  static ImageBitmap ReducedForScreen(const ImageBitmap& picture);
  // Gives the picture's reduced copy, made elsewhere, ahead of its first drawing.
  void AddReduced(const std::shared_ptr<ImageBitmap>& picture, ImageBitmap reduced);

  // The picture as shown, resampled to size (area averaging); null for a picture without
  // pixels.
  const ImageBitmap* Scaled(const std::shared_ptr<ImageBitmap>& picture, QSize size);
  // Drops the entries of pictures no longer held or changed since.
  void Prune();

 private:
  struct Sized {
    QSize Size;
    ImageBitmap Picture;
  };
  struct Entry {
    std::weak_ptr<ImageBitmap> Picture;
    qint64 PixelsKey = 0;
    ImageBitmap Reduced;
    std::vector<Sized> Sizes;
  };
  Entry& entryFor(const std::shared_ptr<ImageBitmap>& picture);

  std::vector<Entry> entries_;
};
