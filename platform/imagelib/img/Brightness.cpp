#include "img/EffectSupport.h"
#include "img/ltimg.h"

int ApplyBrightness(ImageBitmap& bmp, int value, int) {
  if (value < -1000 || value > 1000) return ERROR_INV_PARAMETER;
  ComponentTable table;
  for (int c = 0; c < 256; ++c) {
    // Tenths of a percent of the distance to white, or of the component itself toward black.
    const int changed = value >= 0 ? c + ((255 - c) * value + 500) / 1000 : c + (c * value - 500) / 1000;
    table[size_t(c)] = ClampComponent(changed);
  }
  return MapComponents(bmp, table);
}
