#pragma once

#include <algorithm>
#include <cstdint>

// A square neighbourhood of size x size pixels: from `before` to `after` pixels around the
// centre (one more after than before for an even size). Past the picture's edge the edge
// pixels repeat, so every neighbourhood counts size * size pixels.
struct Neighbourhood {
  explicit Neighbourhood(int size) : size(size), before((size - 1) / 2), after(size / 2) {}
  int size;
  int before;
  int after;
};

// The largest neighbourhood or tile the effects take: their sums stay within 32 bits.
inline constexpr int kLargestNeighbourhood = 64;

inline int ClampIndex(int i, int count) { return i < 0 ? 0 : i >= count ? count - 1 : i; }

// Division of sums by a fixed divisor, rounded to nearest, through one multiplication;
// exact for the sums of up to kLargestNeighbourhood squared components.
class RoundedDivision {
 public:
  explicit RoundedDivision(uint32_t divisor)
      : half_(divisor / 2), factor_((uint64_t(1) << 32) / divisor + 1) {}
  uint32_t operator()(uint32_t sum) const { return uint32_t(((sum + half_) * factor_) >> 32); }

 private:
  uint64_t half_;
  uint64_t factor_;
};
