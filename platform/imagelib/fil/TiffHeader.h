#pragma once

// The few facts of a TIFF file's first directory that Magick's header reading leaves out.

#include <cstddef>

struct TiffHeaderFacts {
  bool Valid = false;
  bool HasAlpha = false;       // extra samples beside the colour ones
  bool BlackAndWhite = false;  // one sample of one bit, white or black is zero
  int Orientation = 1;         // EXIF orientation code, 1 when absent or out of range
};

// Bounded: every offset is checked against size; a damaged directory gives Valid false.
TiffHeaderFacts ReadTiffHeader(const unsigned char* data, std::size_t size);
