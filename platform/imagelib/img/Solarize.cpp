#include "img/EffectSupport.h"
#include "img/ltimg.h"

int ApplySolarize(ImageBitmap& bmp, int value, int) {
  if (value < 0 || value > 255) return ERROR_INV_PARAMETER;
  ComponentTable table;
  for (int c = 0; c < 256; ++c) table[size_t(c)] = uint8_t(c >= value ? 255 - c : c);
  return MapComponents(bmp, table);
}
