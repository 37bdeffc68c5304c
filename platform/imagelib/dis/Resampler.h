#pragma once

#include <QImage>
#include <QRect>

#include "dis/PaintGeometry.h"

// Renders the visible part of a stretch: area averaging on an axis that shrinks, bilinear
// on one that grows, an exact copy where source and destination sizes agree. kept holds
// the source's kept pixels (32-bit, premultiplied or opaque) as shown; samples never reach
// outside it. Only the visible window is computed, however large the whole destination.
QImage ResampleWindow(const QImage& kept, const AxisMapping& x, const AxisMapping& y,
                      const QRect& visible);
