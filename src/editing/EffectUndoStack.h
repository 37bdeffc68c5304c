#pragma once

#include <QtGlobal>

#include "krn/ltkrn.h"

// The steps back of the Special Effects dialog. Entry 0 is the picture as opened or as
// last applied; each later entry is the picture as it was before one preview. Entries
// share their pixels with whatever else holds the same picture.
//
// A full picture a step would let a long session exhaust memory (200 previews of a
// 24-megapixel photo hold 19 GB), so the entries are kept within a memory budget (entries
// sharing pixels count once): past it the oldest steps are dropped. The opening picture
// and the newest step are never dropped, so Undo still steps back, and always reaches the
// picture as it was opened.
class EffectUndoStack {
 public:
  // A quarter of the machine's memory, from 256 MB to 2 GB.
  static qint64 DefaultBudget();

  explicit EffectUndoStack(qint64 budgetBytes = DefaultBudget());

  // Only entry 0, the picture given.
  void Reset(const ImageBitmap& picture);
  // Appends the picture as it was before a preview; may drop old steps.
  void Push(const ImageBitmap& picture);
  // Takes the newest entry out; only while CanUndo.
  ImageBitmap Pop();
  bool CanUndo() const { return Count() > 1; }
  int Count() const { return BitmapListCount(list_); }
  // The steps dropped for memory since the last Reset.
  int DroppedSteps() const { return dropped_; }
  qint64 HeldBytes() const;
  const ImageBitmap& Entry(int index) const { return list_.Items.at(index); }

 private:
  BitmapList list_;
  qint64 budget_;
  int dropped_ = 0;
};
