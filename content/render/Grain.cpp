#include "Grain.h"

#include <algorithm>
#include <cmath>

namespace {
// A small integer hash (from the "lowbias32" family) mapped to -1 .. 1.
float Noise(quint32 x, quint32 y) {
  quint32 h = x * 0x9E3779B1u ^ (y + 0x7F4A7C15u) * 0x85EBCA77u;
  h ^= h >> 16;
  h *= 0x7FEB352Du;
  h ^= h >> 15;
  h *= 0x846CA68Bu;
  h ^= h >> 16;
  return float(h & 0xFFFF) / 32767.5f - 1.0f;
}

// Smooth noise along x with one value every `period` pixels, for long strokes.
float StrokeNoise(int x, int y, int period) {
  const int cell = x / period;
  const float t = float(x % period) / float(period);
  const float s = t * t * (3.0f - 2.0f * t);
  return Noise(quint32(cell), quint32(y)) * (1.0f - s) + Noise(quint32(cell + 1), quint32(y)) * s;
}
}  // namespace

void AddGrain(QImage& rgb32, const QImage& hole, int amount, bool streak) {
  if (amount <= 0) return;
  for (int y = 0; y < rgb32.height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(rgb32.scanLine(y));
    const uchar* holeRow = hole.isNull() ? nullptr : hole.constScanLine(y);
    for (int x = 0; x < rgb32.width(); ++x) {
      if (holeRow && holeRow[x]) continue;
      float n = Noise(quint32(x) + 1000u, quint32(y));
      if (streak) n = 0.75f * StrokeNoise(x, y, 53) + 0.25f * n;
      const int delta = int(std::lround(n * float(amount)));
      auto shift = [delta](int c) { return std::clamp(c + delta, 0, 255); };
      row[x] = qRgb(shift(qRed(row[x])), shift(qGreen(row[x])), shift(qBlue(row[x])));
    }
  }
}
