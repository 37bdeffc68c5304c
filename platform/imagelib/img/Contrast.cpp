#include <cmath>

#include "img/EffectSupport.h"
#include "img/ltimg.h"

int ApplyContrast(ImageBitmap& bmp, int value, int) {
  if (value < -1000 || value > 1000) return ERROR_INV_PARAMETER;
  // Positive values stretch the distance from the middle by 1000 / (1000 - value), so
  // 1000 leaves two values; negative ones shrink it by (1000 + value) / 1000.
  const double factor = value >= 0 ? 1000.0 / std::max(1, 1000 - value) : (1000.0 + value) / 1000.0;
  ComponentTable table;
  for (int c = 0; c < 256; ++c)
    table[size_t(c)] = ClampComponent(int(std::lround(127.5 + (c - 127.5) * factor)));
  return MapComponents(bmp, table);
}
