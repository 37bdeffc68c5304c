#pragma once

// The effects module (ltefx10n.dll): painting a picture with one colour left transparent.

#include <QRect>
#include <QRgb>

#include "dis/ltdis.h"

// How a picture comes onto the device. This library always paints at once, whatever the
// effect, grain, delay, speed and cycles; only `transparent` changes the result.
struct PaintEffect {
  int effect = 1000;
  int grain = 256;
  int delay = 1;
  int speed = 1;
  int cycles = 1;
  // Off: the picture is painted whole, as PaintBitmap paints it.
  bool transparent = true;
};

// Paints like PaintBitmap (source, destination stretched, clip, raster operation), leaving
// the device unchanged wherever the picture's pixel has exactly the red, green and blue of
// transparentColour (its alpha byte is not compared). At equal sizes the kept pixels are
// exact; when stretched, the edges of the transparent areas blend smoothly. A 32-bit
// picture's own transparency is honoured as well. Results as PaintBitmap.
int PaintTransparent(DeviceContext& dc, const ImageBitmap& bmp, const QRect& source,
                     const QRect& destination, const QRect& clip, QRgb transparentColour,
                     RasterOp op = RasterOp::Copy, const PaintEffect& effect = PaintEffect());

int LtEfxModuleVersion();
