#include "labels/TemplatePagePainter.h"

#include <QPen>

#include "dis/DeviceContext.h"
#include "dis/ltdis.h"

namespace {
constexpr int kSelectionPenWidth = 4;

// Windows' rectangle: the frame's outer edge is the rectangle, right and bottom excluded.
void FrameRect(QPainter& painter, const QRect& rect, int penWidth) {
  if (rect.width() <= 0 || rect.height() <= 0) return;
  painter.setPen(QPen(Qt::black, penWidth, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  const double half = penWidth / 2.0;
  painter.drawRect(QRectF(rect).adjusted(half, half, -half, -half));
}

// Paints the picture stretched over into, only inside clip (a null rect: all of it).
void PaintPicture(DeviceContext& dc, const ImageBitmap& picture, const QRect& into, const QRect& clip = QRect()) {
  if (!picture.isEmpty() && picture.hasPixels() && into.isValid())
    PaintBitmap(dc, picture, QRect(), into, clip, RasterOp::Copy);
}
}  // namespace

namespace {
void SetSelection(PageViewState& state, int cell, int columns) {
  state.SelectedCell = cell;
  if (cell >= 0 && columns > 0) {
    state.SelectedColumn = cell % columns;
    state.SelectedRow = cell / columns;
  }
}
}  // namespace

void SelectAtPoint(PageViewState& state, QPoint point, int columns) {
  state.ClickPoint = point;
  SetSelection(state, CellAtPoint(state.Places, point), columns);
}

void SelectCell(PageViewState& state, int cell, int columns) {
  if (cell < 0 || cell >= int(state.Places.size())) return;
  state.ClickPoint = state.Places[size_t(cell)].Rect.topLeft() + QPoint(1, 1);
  SetSelection(state, cell, columns);
}

bool KeepSelection(PageViewState& state, int columns) {
  if (state.ClickPoint == QPoint(-1, -1) && !state.Places.empty()) {
    SelectCell(state, 0, columns);
    return true;
  }
  if (state.SelectedCell >= int(state.Places.size())) SetSelection(state, -1, columns);
  return false;
}

bool DrawTemplatePage(DeviceContext& dc, const PageDevice& device, const LabelTemplate& t,
                      const PageCells& cells, PageViewState& state, const CellPictureSource& source,
                      const CellProgress& progress) {
  QPainter& painter = dc.painter();
  state.Places = LayOutTemplatePage(t, device);
  const int count = std::min(int(state.Places.size()), cells.Count());
  if (!device.Printing) KeepSelection(state, t.Columns);

  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  for (int k = 0; k < int(state.Places.size()); ++k) {
    if (device.Printing && progress && k < count && !progress(k, count)) {
      painter.restore();
      return false;
    }
    const CellPlace& place = state.Places[size_t(k)];
    const bool selected = !device.Printing && k == state.SelectedCell;
    if (!device.Printing) {
      painter.setBrush(Qt::white);
      FrameRect(painter, place.Rect, 1);
      painter.setBrush(Qt::NoBrush);
      if (selected) FrameRect(painter, place.Rect, kSelectionPenWidth);
    }
    if (k >= count) continue;
    const ImageBitmap* picture = cells.Cell(k).Working.get();
    if (!picture || picture->Width <= 0) continue;
    const QRect into = FitPictureInCell(place, picture->shownSize(), device, selected);
    if (!into.isValid()) continue;
    // The selected label's picture is the others' with its last row cut off, so that a
    // new selection scales nothing.
    const QRect whole = selected ? FitPictureInCell(place, picture->shownSize(), device, false) : into;
    const ImageBitmap* shown = source ? source(k, whole.size()) : nullptr;
    PaintPicture(dc, shown ? *shown : *picture, whole, into);
  }

  state.DragRect = QRect();
  const ImageBitmap* dragged = cells.HoldsPicture(state.SelectedCell) && state.SelectedCell < int(state.Places.size())
                                   ? cells.Cell(state.SelectedCell).Working.get()
                                   : nullptr;
  if (!device.Printing && state.Dragging && state.DragPoint != QPoint(-1, -1) && dragged && dragged->Width > 0) {
    // The dragged picture keeps the size it has in its label.
    const QSize size =
        FitPictureInCell(state.Places[size_t(state.SelectedCell)], dragged->shownSize(), device, false).size();
    const QPoint at = state.DragPoint;
    state.DragRect = QRect(at.x() - size.width() / 2, at.y() - size.height() / 2, size.width(), size.height());
    const ImageBitmap* shown = source ? source(state.SelectedCell, size) : nullptr;
    PaintPicture(dc, shown ? *shown : *dragged, state.DragRect);
  }
  painter.restore();
  if (device.Printing && progress) progress(count, count);
  return true;
}
