#include "img/EffectSupport.h"
#include "img/ltimg.h"

int ApplyInvert(ImageBitmap& bmp, int, int) {
  ComponentTable table;
  for (int c = 0; c < 256; ++c) table[size_t(c)] = uint8_t(255 - c);
  return MapComponents(bmp, table);
}
