#include "labels/ScaledPictureCache.h"

#include <algorithm>

#include "krn/ltkrn.h"

namespace {
// Sizes a picture is kept at: the label's and the selected label's (a pixel shorter).
constexpr int kSizesPerPicture = 3;
}  // namespace

ImageBitmap ScaledPictureCache::ReducedForScreen(const ImageBitmap& picture) {
  const int longest = std::max(picture.Width, picture.Height);
  if (!picture.hasPixels() || longest <= kReducedSide) return picture;
  ImageBitmap reduced = picture;
  const double scale = double(kReducedSide) / longest;
  if (ResizeBitmap(reduced, std::max(1, int(picture.Width * scale)), std::max(1, int(picture.Height * scale))) !=
      SUCCESS)
    return picture;
  return reduced;
}

ScaledPictureCache::Entry& ScaledPictureCache::entryFor(const std::shared_ptr<ImageBitmap>& picture) {
  const qint64 key = picture->Pixels.cacheKey();
  for (Entry& entry : entries_)
    if (entry.PixelsKey == key && entry.Picture.lock() == picture) return entry;
  Prune();
  return entries_.emplace_back(Entry{picture, key, {}, {}});
}

void ScaledPictureCache::AddReduced(const std::shared_ptr<ImageBitmap>& picture, ImageBitmap reduced) {
  if (!picture || !picture->hasPixels()) return;
  Entry& entry = entryFor(picture);
  entry.Reduced = std::move(reduced);
  entry.Sizes.clear();
}

const ImageBitmap* ScaledPictureCache::Scaled(const std::shared_ptr<ImageBitmap>& picture, QSize size) {
  if (!picture || !picture->hasPixels() || size.isEmpty()) return nullptr;
  Entry& entry = entryFor(picture);
  for (const Sized& sized : entry.Sizes)
    if (sized.Size == size) return &sized.Picture;
  if (!entry.Reduced.hasPixels()) entry.Reduced = ReducedForScreen(*picture);
  // The stored rows turn a quarter when shown for the upright perspectives after LeftTop.
  const QSize stored = picture->Perspective >= LeftTop ? size.transposed() : size;
  // A size larger than the reduced copy is made from the whole picture.
  const bool fromReduced = stored.width() <= entry.Reduced.Width && stored.height() <= entry.Reduced.Height;
  ImageBitmap scaled = fromReduced ? entry.Reduced : *picture;
  if (ResizeBitmap(scaled, stored.width(), stored.height()) != SUCCESS) return nullptr;
  if (int(entry.Sizes.size()) >= kSizesPerPicture) entry.Sizes.erase(entry.Sizes.begin());
  entry.Sizes.push_back(Sized{size, std::move(scaled)});
  return &entry.Sizes.back().Picture;
}

void ScaledPictureCache::Prune() {
  std::erase_if(entries_, [](const Entry& entry) {
    const std::shared_ptr<ImageBitmap> picture = entry.Picture.lock();
    return !picture || picture->Pixels.cacheKey() != entry.PixelsKey;
  });
}
