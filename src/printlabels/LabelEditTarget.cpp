#include "printlabels/LabelEditTarget.h"

#include "labels/PageCells.h"

LabelEditTarget::LabelEditTarget(PageCells& cells, int cell, std::function<void()> sheetChanged)
    : m_cells(cells), m_cell(cell), m_sheetChanged(std::move(sheetChanged)) {}

ImageBitmap& LabelEditTarget::picture() { return *m_cells.WorkingPicture(m_cell); }

void LabelEditTarget::pictureChanged() {
  m_cells.WorkingChanged(m_cell);
  m_sheetChanged();
}
