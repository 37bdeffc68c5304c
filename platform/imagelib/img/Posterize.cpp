#include "img/EffectSupport.h"
#include "img/ltimg.h"

int ApplyPosterize(ImageBitmap& bmp, int value, int) {
  if (value < 2 || value > 256) return ERROR_INV_PARAMETER;
  ComponentTable table;
  // Equal bands of the 256 values, each shown as its level spread over 0 to 255.
  for (int c = 0; c < 256; ++c) {
    const int level = c * value / 256;
    table[size_t(c)] = uint8_t((level * 255 + (value - 1) / 2) / (value - 1));
  }
  return MapComponents(bmp, table);
}
