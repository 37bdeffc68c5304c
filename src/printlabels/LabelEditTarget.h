#pragma once

#include <functional>

#include "controls/PictureEditTarget.h"

class PageCells;

// The picture of one label handed to an editing dialog: its working picture, shared with
// every label holding the same one, so an edit shows on all of them. The photo's file is
// not touched.
class LabelEditTarget : public PictureEditTarget {
 public:
  LabelEditTarget(PageCells& cells, int cell, std::function<void()> sheetChanged);

  ImageBitmap& picture() override;
  void pictureChanged() override;

 private:
  PageCells& m_cells;
  int m_cell;
  std::function<void()> m_sheetChanged;
};
