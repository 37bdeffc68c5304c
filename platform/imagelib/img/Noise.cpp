#include <random>

#include "img/EffectSupport.h"
#include "img/ltimg.h"

namespace {
// A small, fast generator; each row is seeded from the call's seed and its index, so the
// result does not depend on which thread did which row.
struct RowRandom {
  uint64_t state;
  RowRandom(uint64_t seed, int row) : state(seed ^ (uint64_t(row) * 0x9E3779B97F4A7C15ull)) { Next(); }
  uint64_t Next() {
    uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
};
}  // namespace

int ApplyNoise(ImageBitmap& bmp, int value, int option) {
  if (value < 0 || value > 100 || option < 0 || option > 3) return ERROR_INV_PARAMETER;
  // Chosen when the low 32 bits of a draw fall below this share of 2^32.
  const uint64_t threshold = (uint64_t(value) << 32) / 100;
  const uint64_t seed = (uint64_t(std::random_device()()) << 32) | std::random_device()();
  // Which components a chosen pixel's random value replaces: all, red, green or blue.
  static constexpr QRgb kPlanes[4] = {0x00ffffffu, 0x00ff0000u, 0x0000ff00u, 0x000000ffu};
  const QRgb plane = kPlanes[option];

  return ApplyByRowBands(bmp, [&](const QImage& source, const TargetRows& out, int first, int end) {
    const int width = source.width();
    for (int y = first; y < end; ++y) {
      RowRandom random(seed, y);
      const QRgb* in = SourceRow(source, y);
      QRgb* to = out[y];
      for (int x = 0; x < width; ++x) {
        const uint64_t draw = random.Next();
        to[x] = (draw & 0xffffffffu) < threshold ? (in[x] & ~plane) | (QRgb(draw >> 32) & plane) : in[x];
      }
    }
  });
}
