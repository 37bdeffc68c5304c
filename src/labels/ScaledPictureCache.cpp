#include "labels/ScaledPictureCache.h"

#include "krn/ltkrn.h"

namespace {
// Sizes a picture is kept at: the label's and the selected label's (a pixel shorter).
constexpr int kSizesPerPicture = 3;
}

const ImageBitmap* ScaledPictureCache::Scaled(const std::shared_ptr<ImageBitmap>& picture, QSize size) {
  if (!picture || !picture->hasPixels() || size.isEmpty()) return nullptr;
  const qint64 key = picture->Pixels.cacheKey();
  int sameSizes = 0;
  for (Entry& entry : entries_) {
    if (entry.Picture.lock() != picture || entry.PixelsKey != key) continue;
    if (entry.Size == size) return &entry.Scaled;
    ++sameSizes;
  }
  Prune();
  if (sameSizes >= kSizesPerPicture) {
    std::erase_if(entries_, [&](const Entry& entry) { return entry.Picture.lock() == picture; });
  }
  Entry entry{picture, key, size, *picture};
  // The stored rows turn a quarter when shown for the upright perspectives after LeftTop.
  const QSize stored = picture->Perspective >= LeftTop ? size.transposed() : size;
  if (ResizeBitmap(entry.Scaled, stored.width(), stored.height()) != SUCCESS) return nullptr;
  entries_.push_back(std::move(entry));
  return &entries_.back().Scaled;
}

void ScaledPictureCache::Prune() {
  std::erase_if(entries_, [](const Entry& entry) {
    const std::shared_ptr<ImageBitmap> picture = entry.Picture.lock();
    return !picture || picture->Pixels.cacheKey() != entry.PixelsKey;
  });
}
