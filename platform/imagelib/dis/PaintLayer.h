#pragma once

#include <QImage>
#include <QRect>

#include "krn/ImageBitmap.h"

// One call to paint a picture, as the painting functions take it.
struct PaintRequest {
  const ImageBitmap* bitmap = nullptr;
  QRect source;
  QRect destination;
  QRect clip;
  bool inRegion = false;
};

// What a paint puts on the device, before it is combined with what is there.
struct PaintLayer {
  QRect area;     // device pixels covered; empty when nothing shows
  QImage pixels;  // area-sized, premultiplied 32-bit (RGB32 for opaque pictures)
  QImage mask;    // area-sized Alpha8 (255 paints, 0 leaves alone); null: all of area paints
};

// Renders the part of a paint that lands inside within (a null rect: the whole device).
int RenderPaintLayer(const PaintRequest& request, QSize device, const QRect& within,
                     PaintLayer& out);
