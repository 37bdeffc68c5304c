#include "cmp/CmykConversion.h"

namespace {
// a * b / 255, rounded, without a division.
inline int Multiply255(int a, int b) {
  const int t = a * b + 128;
  return (t + (t >> 8)) >> 8;
}
}  // namespace

void ConvertCmykToRgbInPlace(QImage& image, bool inverted) {
  const int width = image.width();
  for (int y = 0; y < image.height(); ++y) {
    uchar* row = image.scanLine(y);
    auto* out = reinterpret_cast<QRgb*>(row);
    for (int x = 0; x < width; ++x) {
      const uchar* p = row + 4 * x;
      int c = p[0], m = p[1], ye = p[2], k = p[3];
      if (!inverted) {
        c = 255 - c;
        m = 255 - m;
        ye = 255 - ye;
        k = 255 - k;
      }
      // Each pixel is read whole before its own four bytes are overwritten.
      out[x] = qRgb(Multiply255(c, k), Multiply255(m, k), Multiply255(ye, k));
    }
  }
}
