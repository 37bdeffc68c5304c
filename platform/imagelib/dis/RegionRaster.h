#pragma once

#include <QImage>
#include <QPainterPath>
#include <QRegion>
#include <QSize>

// Regions at the level of pixels: a pixel belongs to a region when its centre lies inside
// the region's path. Large regions (a colour region of a photo has many thousands of
// pieces) are combined and outlined here rather than by path geometry, which would be slow.

// An Alpha8 mask of the picture's size: 255 on the region's pixels, 0 elsewhere.
QImage RasterizeRegion(const QPainterPath& region, QSize picture);
// The pixels of a mask (>= 128) as a region, built from the runs of each row, rows with
// the same runs joined into one band.
QRegion RegionFromMask(const QImage& mask);
// A path of the region's rectangles.
QPainterPath PathFromRegion(const QRegion& region);
// Whether a path is too large for path geometry to combine or outline in good time.
bool IsLargeRegion(const QPainterPath& region);
