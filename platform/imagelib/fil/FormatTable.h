#pragma once

// What the file module knows about each format code: its name, which codec reads and
// writes it, the depths a file of it can hold and its largest side.

#include <QString>

enum class Codec { None, Jpeg, Magick, Msp, GemImg, Eps };

// Depths a format holds, as a set: the bit of DepthBit(bits) for each.
constexpr unsigned DepthBit(int bits) {
  return bits == 1 ? 1u : bits == 4 ? 2u : bits == 8 ? 4u : bits == 24 ? 8u : bits == 32 ? 16u : 0u;
}
constexpr unsigned kAllDepths =
    DepthBit(1) | DepthBit(4) | DepthBit(8) | DepthBit(24) | DepthBit(32);

struct FormatTraits {
  int Code;
  const char* Name;
  const char* MagickCoder;  // the coder reading and writing it through Magick, or null
  Codec Reader;
  Codec Writer;
  unsigned Depths;  // what a saved file can hold
  int MaxWidth;     // the format's own limits on the picture's size
  int MaxHeight;
};

// The traits of a format code, or null for a code outside the table.
const FormatTraits* FindFormat(int format);
// The depth a file of this format gets when bitsPerPixel is asked for: the asked depth
// when the format holds it, else the nearest one above, else the largest below.
int NearestDepth(const FormatTraits& traits, int bitsPerPixel);
