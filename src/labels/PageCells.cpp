#include "labels/PageCells.h"

#include <algorithm>

bool PageCells::AnyUsed() const {
  return std::any_of(cells_.begin(), cells_.end(), [](const PageCell& c) { return c.IsUsed(); });
}

void PageCells::Rebuild(int count) {
  cells_.clear();
  cells_.resize(size_t(std::max(count, 0)));
}

void PageCells::Resize(int count) { cells_.resize(size_t(std::max(count, 0))); }

void PageCells::Give(int k, const ImageBitmap& picture, const QString& name) {
  if (!IsValid(k)) return;
  // The picture may be one this cell holds; the copy shares its pixels.
  const ImageBitmap given = picture;
  PageCell& cell = cells_[size_t(k)];
  // Released first, so that a picture this cell alone held is freed before its successor.
  cell = PageCell{};
  cell.Name = name;
  // Hashed once for both pools: the working picture starts equal to the base.
  const std::size_t fingerprint = ImagePool::Fingerprint(given);
  cell.Base = basePool_.Share(given, fingerprint);
  // Shares the pixels of the base until an edit changes it.
  cell.Working = workingPool_.Share(*cell.Base, fingerprint);
}

void PageCells::Clear(int k) {
  if (IsValid(k)) cells_[size_t(k)] = PageCell{};
}

std::vector<int> PageCells::FillBlanks(const ImageBitmap& picture, const QString& name) {
  std::vector<int> filled;
  for (int k = 0; k < Count(); ++k) {
    if (cells_[size_t(k)].HoldsPicture()) continue;
    Give(k, picture, name);
    filled.push_back(k);
  }
  return filled;
}

bool PageCells::Move(int from, int to) {
  if (!IsValid(from) || !IsValid(to) || from == to) return false;
  cells_[size_t(to)] = std::move(cells_[size_t(from)]);
  cells_[size_t(from)] = PageCell{};
  return true;
}

ImageBitmap* PageCells::WorkingPicture(int k) { return IsValid(k) ? cells_[size_t(k)].Working.get() : nullptr; }

void PageCells::WorkingChanged(int k) {
  if (!IsValid(k) || !cells_[size_t(k)].Working) return;
  const std::shared_ptr<ImageBitmap> changed = cells_[size_t(k)].Working;
  workingPool_.Changed(changed);
  // Every cell that shows the picture shows the edit.
  for (PageCell& cell : cells_)
    if (cell.Working == changed) cell.Edited = true;
}

PageCells PageCells::DetachedCopy() const {
  PageCells copy;
  copy.cells_.resize(cells_.size());
  for (size_t k = 0; k < cells_.size(); ++k) {
    const PageCell& cell = cells_[k];
    PageCell& to = copy.cells_[k];
    to.Name = cell.Name;
    if (cell.Base) to.Base = std::make_shared<ImageBitmap>(*cell.Base);
    if (cell.Working) to.Working = std::make_shared<ImageBitmap>(*cell.Working);
  }
  return copy;
}
