#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

#include "krn/ltkrn.h"

// Where a photo goes behind a frame, from how the user placed it in the preview.
struct FramePlacement {
  QSize Output;       // the framed picture's size
  QSize Scaled;       // the photo's size before zooming (the photo's own when not scaled)
  QRect Target;       // where the scaled photo is painted, zoom applied
};

// What the preview showed: the pan offset and zoom level, its client size and the size it
// last drew the photo at.
struct FrameView {
  QPoint Pan;
  int Zoom = 1;
  QSize Client;
  QSize Drawn;
};

// The photo is scaled to the frame's height (unless it has it already) and centred in a
// picture of the frame's size, moved by the pan and grown or shrunk by the zoom. An empty
// frame or photo gives an empty placement.
FramePlacement PlaceInFrame(QSize photo, QSize frame, const FrameView& view);

// The photo behind the frame, the frame's pure-black pixels the hole it shows through.
// ERROR_NO_BITMAP without a frame or photo; result untouched on failure.
int ComposeInFrame(const ImageBitmap& photo, const ImageBitmap& frame, const FrameView& view, ImageBitmap& result);
