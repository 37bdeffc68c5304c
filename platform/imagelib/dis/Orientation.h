#pragma once

#include <QImage>
#include <QSize>
#include <QTransform>

#include "dis/PixelBox.h"
#include "krn/ImageBitmap.h"

// How a picture's stored pixels turn into the picture as shown, by its view perspective
// (the EXIF orientation codes). Codes outside 1..8 are taken as TopLeft.

// Whether the picture is shown turned a quarter (codes 5..8).
bool SwapsAxes(ViewPerspective perspective);
// The size of the picture as shown: width and height swap for codes 5..8.
QSize DisplaySize(QSize stored, ViewPerspective perspective);
// Where a box of stored pixels lies in the picture as shown.
PixelBox OrientBox(const PixelBox& box, QSize stored, ViewPerspective perspective);
// Where a box of the picture as shown lies in its stored pixels.
PixelBox UnorientBox(const PixelBox& box, QSize stored, ViewPerspective perspective);
// Stored coordinates to shown coordinates, for paths (pixel corners map onto pixel corners).
QTransform OrientTransform(QSize stored, ViewPerspective perspective);
// A 32-bit image of stored pixels turned the way it is shown, and back.
QImage OrientImage(const QImage& stored, ViewPerspective perspective);
QImage UnorientImage(const QImage& shown, ViewPerspective perspective);
