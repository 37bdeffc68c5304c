#include <algorithm>

#include "img/EffectSupport.h"
#include "img/ltimg.h"

int ApplySaturation(ImageBitmap& bmp, int value, int) {
  if (value < -100 || value > 100) return ERROR_INV_PARAMETER;
  const int factor = 100 + value;  // in hundredths
  return MapColours(bmp, [factor](QRgb pixel) {
    const int r = qRed(pixel), g = qGreen(pixel), b = qBlue(pixel);
    const int high = std::max({r, g, b});
    const int low = std::min({r, g, b});
    if (high == low) return pixel;
    // Lightness (as twice itself) stays; each component's distance from it scales, but no
    // further than the range allows, so the hue stays too.
    const int twiceLight = high + low;
    int scale = factor;
    const int up = 2 * high - twiceLight;  // twice the highest component's distance
    const int down = twiceLight - 2 * low;
    if (up > 0) scale = std::min(scale, (2 * 255 - twiceLight) * 100 / up);
    if (down > 0) scale = std::min(scale, twiceLight * 100 / down);
    auto scaled = [&](int c) { return ClampComponent((twiceLight * 100 + (2 * c - twiceLight) * scale + 100) / 200); };
    return qRgb(scaled(r), scaled(g), scaled(b));
  });
}
