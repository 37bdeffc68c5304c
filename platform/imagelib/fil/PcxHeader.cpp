#include "fil/PcxHeader.h"

namespace {
constexpr std::size_t kBitsOffset = 3;
constexpr std::size_t kPlanesOffset = 65;
}  // namespace

int PcxHeaderBits(const unsigned char* data, std::size_t size) {
  if (size <= kPlanesOffset) return 0;
  const int bits = data[kBitsOffset] * data[kPlanesOffset];
  switch (bits) {
    case 1:
      return 1;
    case 2:
    case 3:
    case 4:
      return 4;  // 4 or 16 colours from a palette
    case 8:
      return data[kPlanesOffset] == 1 ? 8 : 0;
    case 24:
    case 32:
      return bits;
    default:
      return 0;
  }
}
