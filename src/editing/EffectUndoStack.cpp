#include "editing/EffectUndoStack.h"

#include <algorithm>

#include <unistd.h>

#include <QSet>

namespace {
constexpr qint64 kMegabyte = 1024 * 1024;

qint64 PictureBytes(const ImageBitmap& picture) { return picture.Pixels.sizeInBytes(); }
}  // namespace

qint64 EffectUndoStack::DefaultBudget() {
  const long pages = sysconf(_SC_PHYS_PAGES);
  const long pageSize = sysconf(_SC_PAGE_SIZE);
  const qint64 memory = pages > 0 && pageSize > 0 ? qint64(pages) * pageSize : 0;
  return std::clamp(memory / 4, 256 * kMegabyte, 2048 * kMegabyte);
}

EffectUndoStack::EffectUndoStack(qint64 budgetBytes) : budget_(budgetBytes) { BitmapListCreate(list_); }

void EffectUndoStack::Reset(const ImageBitmap& picture) {
  BitmapListDelete(list_, 0, Count());
  BitmapListInsert(list_, 0, picture);
  dropped_ = 0;
}

void EffectUndoStack::Push(const ImageBitmap& picture) {
  BitmapListInsert(list_, Count(), picture);
  // Entry 1 is the picture before the first preview: entry 0's pixels again, so it costs
  // nothing and keeps the last Undo going back to the picture as opened. The steps after
  // it go first, oldest first.
  while (Count() > 3 && HeldBytes() > budget_) {
    BitmapListDelete(list_, 2, 1);
    ++dropped_;
  }
}

ImageBitmap EffectUndoStack::Pop() {
  ImageBitmap picture;
  if (CanUndo()) BitmapListTake(list_, Count() - 1, picture);
  return picture;
}

qint64 EffectUndoStack::HeldBytes() const {
  // Entries that share their pixels count once.
  QSet<qint64> counted;
  qint64 bytes = 0;
  for (const ImageBitmap& entry : list_.Items)
    if (!counted.contains(entry.Pixels.cacheKey())) {
      counted.insert(entry.Pixels.cacheKey());
      bytes += PictureBytes(entry);
    }
  return bytes;
}
