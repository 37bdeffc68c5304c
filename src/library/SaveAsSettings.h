#pragma once

#include <QString>

// How Save Picture As encodes a picture, decided from the chosen file name.
struct SaveAsSettings {
  QString Path;
  int Format = 0;          // from the image file-type table; 0 when the extension is not in it
  int BitsPerPixel = 24;
  int QualityFactor = 2;
  int PaletteOption = 2;   // 1 keeps a 1- or 4-bit picture's palette, 2 optimises one
};
