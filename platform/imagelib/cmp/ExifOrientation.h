#pragma once

#include <QImage>

// Whether an EXIF orientation (5..8) turns the picture on its side, swapping width and height.
bool OrientationSwapsAxes(int orientation);
// The stored pixels turned upright for an EXIF orientation; 1 and unknown values return
// them unchanged. A null image means the memory for the turned copy was not there.
QImage OrientUpright(const QImage& stored, int orientation);
