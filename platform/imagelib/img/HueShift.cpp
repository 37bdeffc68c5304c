#include <algorithm>

#include "img/EffectSupport.h"
#include "img/ltimg.h"

namespace {
// The hue on a wheel of six sextants of kSextant steps: red 0, green 2, blue 4.
constexpr int kSextant = 1 << 12;
constexpr int kWheel = 6 * kSextant;
}  // namespace

int ApplyHueShift(ImageBitmap& bmp, int value, int) {
  const int shift = int(((long long)(value % 360 + 360) % 360) * kWheel / 360);
  if (shift == 0) return MapColours(bmp, [](QRgb pixel) { return pixel; });
  return MapColours(bmp, [shift](QRgb pixel) {
    const int r = qRed(pixel), g = qGreen(pixel), b = qBlue(pixel);
    const int high = std::max({r, g, b});
    const int low = std::min({r, g, b});
    const int chroma = high - low;
    if (chroma == 0) return pixel;
    // Hue as in HSV, kept with its fraction; only the ordering of the components and
    // the middle one change, the highest and lowest stay.
    int hue;
    if (high == r) hue = (g - b) * kSextant / chroma;
    else if (high == g) hue = 2 * kSextant + (b - r) * kSextant / chroma;
    else hue = 4 * kSextant + (r - g) * kSextant / chroma;
    hue = ((hue + shift) % kWheel + kWheel) % kWheel;
    const int sextant = hue / kSextant;
    const int within = hue % kSextant;
    // Rising within even sextants, falling within odd ones.
    const int rising = (sextant % 2 == 0) ? within : kSextant - within;
    const int middle = low + (chroma * rising + kSextant / 2) / kSextant;
    switch (sextant) {
      case 0: return qRgb(high, middle, low);
      case 1: return qRgb(middle, high, low);
      case 2: return qRgb(low, high, middle);
      case 3: return qRgb(low, middle, high);
      case 4: return qRgb(middle, low, high);
      default: return qRgb(high, low, middle);
    }
  });
}
