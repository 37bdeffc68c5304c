#pragma once

#include <vector>

#include "labels/ImagePool.h"
#include "labels/PageCell.h"

// The cells of one page (a label sheet or an album page) with the pools that let cells
// Share pictures. Pictures no cell holds any more are freed at once.
class PageCells {
 public:
  int Count() const { return int(cells_.size()); }
  const PageCell& Cell(int k) const { return cells_.at(size_t(k)); }
  bool IsValid(int k) const { return k >= 0 && k < Count(); }
  bool HoldsPicture(int k) const { return IsValid(k) && cells_[size_t(k)].HoldsPicture(); }
  // Whether some cell has been given a picture.
  bool AnyUsed() const;

  // count blank cells, whatever was there.
  void Rebuild(int count);
  // Blank cells appended, or cells dropped from the end, until there are count; the
  // others keep their pictures.
  void Resize(int count);
  // Cell k takes the picture (shared with every cell that holds an equal one) and name.
  void Give(int k, const ImageBitmap& picture, const QString& name);
  void Clear(int k);
  // Every cell that holds no picture takes this one; the cells filled, in order.
  std::vector<int> FillBlanks(const ImageBitmap& picture, const QString& name);
  // Cell to takes the pictures and name of cell from, which is left blank; false (and no
  // change) when either is no cell or they are the same.
  bool Move(int from, int to);

  // The picture the cell shows and the editing dialogs change; null when it has none.
  // After changing it in place, call WorkingChanged, which marks the cells showing it edited.
  ImageBitmap* WorkingPicture(int k);
  void WorkingChanged(int k);

  // The cells with pictures of their own (pixels shared until either side writes), for
  // another thread to read while this page goes on being edited.
  PageCells DetachedCopy() const;

  const ImagePool& BasePool() const { return basePool_; }
  const ImagePool& WorkingPool() const { return workingPool_; }

 private:
  std::vector<PageCell> cells_;
  ImagePool basePool_;
  ImagePool workingPool_;
};
