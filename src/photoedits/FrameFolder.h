#pragma once

#include <vector>

#include <QPoint>
#include <QString>

#include "krn/ltkrn.h"

// One entry of a frame list: the file's name without its extension and a 64 x 48
// thumbnail whose hole is white, so the list shows an empty centre.
struct FrameItem {
  QString Name;
  ImageBitmap Thumbnail;
};

inline constexpr int kFrameThumbnailWidth = 64, kFrameThumbnailHeight = 48;

// Where the hole is filled: the frame dialog fills black around (32, 24); the wizard's
// frame page fills whatever colour is at (30, 24).
enum class HoleFill { BlackAtCentre, ColourAtPoint };

// Every plain file of the folder that loads as a picture, in name order; files that do
// not load (damaged, not pictures) and subfolders are left out. An unreadable or missing
// folder gives an empty list.
std::vector<FrameItem> ListFrames(const QString& folder, HoleFill fill);

// The frame picture of an entry: folder + name + ".gif". False when it does not load.
bool LoadFrame(const QString& folder, const QString& name, ImageBitmap& frame);

// Fills the 4-connected area of the pixel's colour around `seed` with white.
void FloodFillWhite(ImageBitmap& picture, QPoint seed);
