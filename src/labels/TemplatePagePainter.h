#pragma once

#include <functional>
#include <vector>

#include <QPoint>
#include <QRect>
#include <QSize>

#include "labels/LabelTemplate.h"
#include "labels/PageCells.h"
#include "labels/PageLayout.h"

class DeviceContext;

// What a page view keeps between draws: the selection, the click that makes it, the drag
// under way and the labels as last laid out (clicks, drags and keys read those).
struct PageViewState {
  // Of the last click, in view coordinates; (-1, -1) until the first click, so that the
  // first draw selects cell 0.
  QPoint ClickPoint{-1, -1};
  int SelectedCell = -1;
  int SelectedColumn = 0;
  int SelectedRow = 0;
  bool Dragging = false;
  QPoint DragStart;
  // (-1, -1) when not Dragging.
  QPoint DragPoint{-1, -1};
  QRect DragRect;
  std::vector<CellPlace> Places;

  void EndDrag() {
    Dragging = false;
    DragPoint = QPoint(-1, -1);
  }
};

// Gives the picture to paint for a cell at a size: on screen a copy already resampled to
// that size, so that a redraw scales nothing; null to paint the cell's own picture.
using CellPictureSource = std::function<const ImageBitmap*(int cell, QSize size)>;
// Told before each cell is painted on paper; false stops the Printing.
using CellProgress = std::function<bool(int cell, int count)>;

// Lays the page out, keeps the selection (the first label on a first draw), and paints: on screen the labels' frames, the selection and the dragged picture;
// on paper only the pictures, at their inch positions. False when progress stopped it.
bool DrawTemplatePage(DeviceContext& dc, const PageDevice& device, const LabelTemplate& t,
                      const PageCells& cells, PageViewState& state,
                      const CellPictureSource& source = {}, const CellProgress& progress = {});

// A click: the label under the point becomes the selection, or none.
void SelectAtPoint(PageViewState& state, QPoint point, int columns);
// A label chosen by number (a key's move), as a click inside it would.
void SelectCell(PageViewState& state, int cell, int columns);
// The selection after a layout: it stays with its label; with no click yet, the first
// label is selected and the click point moves into it; a label the page no longer has is
// no selection. True when the first label was selected.
bool KeepSelection(PageViewState& state, int columns);
