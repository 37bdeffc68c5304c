#pragma once

#include <vector>

#include <QPoint>
#include <QRect>
#include <QSize>

#include "labels/LabelTemplate.h"

// Where a template page is laid out: the screen's page view, or a printer's page.
struct PageDevice {
  int DpiX = 96;
  int DpiY = 96;
  bool Printing = false;
  // On screen the letter page is stretched to fill this; on paper it is not used.
  QSize Target;
  // Of the printable area from the paper's corner, in device pixels.
  QPoint PhysicalOffset;
};

// One label laid out on a device.
struct CellPlace {
  // The label's rectangle (right and bottom outside it), its left and top at least 1.
  QRect Rect;
  // Its size before left and top were raised: what its picture is fitted into.
  int Width = 0;
  int Height = 0;
};

// The labels of the template, cell k = column + row x columns, at their inch positions.
// On paper the printer's physical offset is taken off so that positions count from the
// paper's corner.
std::vector<CellPlace> LayOutTemplatePage(const LabelTemplate& t, const PageDevice& device);

// Where a picture of this size goes in its label: as large as fits with its proportions,
// centred, at least 2 pixels inside. On paper it is inset by a further eighth of an inch
// and moved left by a twentieth of its width, never out of its label. On screen the
// selected label's picture is a pixel shorter, clear of the selection's frame.
QRect FitPictureInCell(const CellPlace& place, QSize picture, const PageDevice& device, bool selected);

// The first label whose rectangle holds the point, or -1.
int CellAtPoint(const std::vector<CellPlace>& Places, QPoint point);

// The keyboard's moves of the selection over a grid of labels.
enum class PageMove { Home, End, Left, Up, Right, Down };
// Moves the selected column c and row r; false when the move goes nowhere. Left and
// Right at a row's end move up or down a row instead, keeping the column.
bool MoveSelection(PageMove move, int& column, int& row, int columns, int rows);
