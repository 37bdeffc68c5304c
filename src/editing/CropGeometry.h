#pragma once

#include <span>

#include <QPoint>
#include <QRect>
#include <QSize>

// The shapes of "Crop" and where a crop falls, as plain functions of sizes.

struct CropShape {
  const char* Name;
  const char* Icon;  // the picture in the program folder's resources
  bool Ellipse;
  int HeightFactor;
  int WidthFactor;
};
std::span<const CropShape> CropShapes();

inline constexpr int kMinHeightFactor = 5, kMaxHeightFactor = 15;
inline constexpr int kMinWidthFactor = 5, kMaxWidthFactor = 10;

// The shape's rectangle, centred in the picture: width W x 0.1 x the width factor, height
// H / 15 x the height factor (truncated), each at least 100 and at most the picture's.
QRect CropShapeRect(QSize picture, int heightFactor, int widthFactor);

// The preview's pan offset (screen pixels) in picture pixels, for a picture drawn at
// `drawn` on screen; (0, 0) while nothing is drawn.
QPoint PanInPicture(QSize picture, QSize drawn, QPoint pan);

// The shape rectangle under the outline: it stays where it shows, centred in the preview,
// while dragging moves the picture, so it moves in the picture against the pan.
QRect CropRegionRect(QSize picture, int heightFactor, int widthFactor, QSize drawn, QPoint pan);

// The part of the picture the preview shows (client `client`, picture drawn at `drawn`,
// panned by `pan`): the crop's result has its size. It may reach outside the picture.
QRect CropSourceRect(QSize picture, QSize client, QSize drawn, QPoint pan);
