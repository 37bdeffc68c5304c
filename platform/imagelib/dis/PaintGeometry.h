#pragma once

#include <QRect>
#include <QSize>

#include "dis/PixelBox.h"
#include "krn/ImageBitmap.h"

// One axis of a stretch: output pixel i (counted from the destination's start) samples the
// source at i + 0.5 scaled by sourceLength / destLength, counted from the source's start.
// Only [keptBegin, keptEnd) of the source lies inside the picture.
struct AxisMapping {
  qint64 sourceLength = 1;
  qint64 destBegin = 0;
  qint64 destLength = 1;
  qint64 keptBegin = 0;
  qint64 keptEnd = 1;

  bool isIdentity() const { return sourceLength == destLength; }
  // Output pixels (absolute) whose centres fall on kept source pixels.
  qint64 firstShown() const;
  qint64 endShown() const;
};

// Where a picture lands on a device, every coordinate checked and clipped, so that painting
// never reads outside the picture nor writes outside the device.
struct PaintGeometry {
  QRect storedSource;    // the part of the stored pixels that is read
  ViewPerspective perspective = TopLeft;
  PixelBox shownSource;  // the whole source rectangle as shown, possibly outside the picture
  AxisMapping x, y;
  QRect visible;         // device pixels written; empty when nothing shows
};

// source: stored pixels (a null rect: the whole picture); destination, clip (a null rect: no
// clip) and the device are in device pixels. Fails with ERROR_INV_PARAMETER for an inverted
// or empty source or destination.
int ComputePaintGeometry(QSize picture, ViewPerspective perspective, const QRect& source,
                         const QRect& destination, const QRect& clip, QSize device,
                         PaintGeometry& out);
