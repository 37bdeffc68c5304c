#include "labels/PageLayout.h"

#include <algorithm>
#include <cmath>

namespace {
// The inset of a printed picture: 75 device pixels of a 600 dpi printer.
constexpr int kPrintInsetAt600 = 75;

// Small enough that the sum of a few positions or sizes stays inside an int.
int Trunc(double value) {
  constexpr double kLimit = 1e8;
  return int(std::clamp(std::trunc(value), -kLimit, kLimit));
}
}  // namespace

std::vector<CellPlace> LayOutTemplatePage(const LabelTemplate& t, const PageDevice& device) {
  std::vector<CellPlace> Places;
  const int lpx = device.DpiX, lpy = device.DpiY;
  if (lpx <= 0 || lpy <= 0) return Places;
  int x0 = Trunc(lpx * t.LeftMargin);
  int y0 = Trunc(lpy * t.TopMargin);
  double sx = 1, sy = 1;
  if (device.Printing) {
    // The offset is in the printer's own pixels, whatever its resolution.
    x0 = std::max(x0 - device.PhysicalOffset.x(), 0);
    y0 = std::max(y0 - device.PhysicalOffset.y(), 0);
  } else {
    sx = device.Target.width() / (lpx * LabelTemplate::kPageWidth);
    sy = device.Target.height() / (lpy * LabelTemplate::kPageHeight);
  }
  Places.reserve(size_t(t.CellCount()));
  for (int r = 0; r < t.Rows && t.CellCount() > 0; ++r) {
    for (int c = 0; c < t.Columns; ++c) {
      const int x = x0 + Trunc(lpx * t.HorizontalPitch * c);
      const int y = y0 + Trunc(lpy * t.VerticalPitch * r);
      const int right = Trunc((x + Trunc(lpx * t.LabelWidth)) * sx);
      const int bottom = Trunc((y + Trunc(lpy * t.LabelHeight)) * sy);
      int left = Trunc(x * sx);
      int top = Trunc(y * sy);
      CellPlace place;
      place.Width = right - left;
      place.Height = bottom - top;
      left = std::max(left, 1);
      top = std::max(top, 1);
      place.Rect = QRect(left, top, right - left, bottom - top);
      Places.push_back(place);
    }
  }
  return Places;
}

QRect FitPictureInCell(const CellPlace& place, QSize picture, const PageDevice& device, bool selected) {
  if (picture.width() <= 0 || picture.height() <= 0) return {};
  const int cellWidth = place.Width, cellHeight = place.Height;
  const int left = place.Rect.left(), top = place.Rect.top();
  const int right = left + place.Rect.width(), bottom = top + place.Rect.height();
  const double ry = double(cellHeight) / picture.height();
  const double rx = double(cellWidth) / picture.width();
  int w = Trunc(picture.width() * ry);
  int h = 0;
  if (cellWidth < w) {
    w = Trunc(picture.width() * rx);
    h = Trunc(picture.height() * rx);
  } else {
    h = Trunc(picture.height() * ry);
  }
  int l = left + cellWidth / 2 - w / 2;
  int t = top + cellHeight / 2 - h / 2;
  int r = left + cellWidth / 2 + w / 2;
  int b = top + cellHeight / 2 + h / 2;
  r = std::min(r, right - 2);
  b = std::min(b, bottom - 2);
  t = std::max(t, top + 2);
  l = std::max(l, left + 2);
  if (device.Printing) {
    const int inset = kPrintInsetAt600 * device.DpiX / 600;
    const int insetY = kPrintInsetAt600 * device.DpiY / 600;
    l += inset;
    r -= inset;
    t += insetY;
    b -= insetY;
    // Moved left by a twentieth of its width, but no further than the label's edge.
    const int shift = std::clamp((r - l) / 20, 0, std::max(l - (left + 2), 0));
    l -= shift;
    r -= shift;
  } else if (selected) {
    b -= 1;
  }
  if (r <= l || b <= t) return {};
  return QRect(l, t, r - l, b - t);
}

int CellAtPoint(const std::vector<CellPlace>& Places, QPoint point) {
  for (size_t k = 0; k < Places.size(); ++k)
    if (Places[k].Rect.contains(point)) return int(k);
  return -1;
}

bool MoveSelection(PageMove move, int& column, int& row, int columns, int rows) {
  if (columns <= 0 || rows <= 0) return false;
  const int c = column, r = row;
  switch (move) {
    case PageMove::Home: column = 0, row = 0; break;
    case PageMove::End: column = columns - 1, row = rows - 1; break;
    case PageMove::Left:
      if (column > 0) --column;
      else if (row > 0) --row;
      break;
    case PageMove::Up:
      if (row > 0) --row;
      break;
    case PageMove::Right:
      if (column < columns - 1) ++column;
      else if (row < rows - 1) ++row;
      break;
    case PageMove::Down:
      if (row < rows - 1) ++row;
      break;
  }
  return column != c || row != r;
}
