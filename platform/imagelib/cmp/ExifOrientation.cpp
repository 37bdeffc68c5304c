#include "cmp/ExifOrientation.h"

#include <QTransform>

namespace {
// Qt takes a dedicated fast path for exact quarter turns.
QImage Turned(const QImage& image, int degrees) {
  return image.transformed(QTransform().rotate(degrees));
}
}  // namespace

bool OrientationSwapsAxes(int orientation) { return orientation >= 5 && orientation <= 8; }

QImage OrientUpright(const QImage& stored, int orientation) {
  // The value names where the stored first row and first column belong on screen.
  switch (orientation) {
    case 2: return stored.mirrored(true, false);
    case 3: return stored.mirrored(true, true);
    case 4: return stored.mirrored(false, true);
    case 5: return Turned(stored, 90).mirrored(true, false);   // transpose
    case 6: return Turned(stored, 90);
    case 7: return Turned(stored, 90).mirrored(false, true);   // transverse
    case 8: return Turned(stored, 270);
    default: return stored;
  }
}
