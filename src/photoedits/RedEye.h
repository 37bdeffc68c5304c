#pragma once

#include <QPoint>
#include <QRect>

struct ImageBitmap;

// The rectangle of an ellipse drawn on a scrolled picture view, in the picture's pixels:
// from where the button went down to where it came up, in whichever direction it was
// dragged, moved by the view's scroll position. Empty when nothing was dragged.
QRect RedEyeEllipse(QPoint press, QPoint release, QPoint scroll);

// Corrects a red eye: every pixel inside the ellipse inscribed in `ellipse` (picture pixels)
// becomes the bitwise OR of its colour and its grey value, so a deep red pupil turns to a
// light, greyish pink; every other pixel stays as it was. Result of the imaging library;
// ERROR_INV_PARAMETER when the ellipse misses the picture.
int CorrectRedEye(ImageBitmap& picture, const QRect& ellipse);
