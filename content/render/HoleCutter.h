#pragma once

#include <QColor>
#include <QImage>

#include "RenderOptions.h"

// A rendered picture split into opaque colours and, for templates, the hole the photo
// shows through.
struct Cutout {
  QImage colour;  // Format_RGB32, straight (not premultiplied) colours
  QImage hole;    // Format_Grayscale8, 255 where the photo shows through; null without a hole
};

// Splits a premultiplied 16-bit rendering. With a hole edge, transparent pixels become
// the hole: below half cover for a hard edge, or scattered by error diffusion of the
// cover for a soft one. Pixels that stay artwork keep their own straight colour, so no
// dark seam appears where the artwork meets the hole.
Cutout CutHole(const QImage& premultiplied, HoleEdge edge);

// Flattens a rendering without a hole: with a key colour, pixels less than half covered
// become the key and the rest are laid on the matte; without one, everything is laid
// on the matte.
QImage Flatten(const QImage& premultiplied, const QColor& matte, const QColor* key);
