#pragma once

#include <QList>
#include <QPixmap>

class QImage;

inline constexpr int kToolbarImageWidth = 29;
inline constexpr int kToolbarImageHeight = 28;

// Cuts the toolbar strip into `count` images of 29 x 28, left to right, with magenta
// (0xFF00FF) made transparent. Images beyond the strip's width come out fully transparent.
QList<QPixmap> CutToolbarImages(const QImage& strip, int count);
