#include "PaletteQuantizer.h"

#include <algorithm>
#include <array>
#include <map>
#include <vector>

namespace {
constexpr int kBits = 6;
constexpr int kSide = 1 << kBits;
constexpr int kShift = 8 - kBits;

int BinIndex(int r, int g, int b) { return (r << (2 * kBits)) | (g << kBits) | b; }

struct Bin {
  qint64 count = 0;
  qint64 sum[3] = {0, 0, 0};
};

struct Box {
  std::array<int, 3> lo{};
  std::array<int, 3> hi{};  // inclusive
  qint64 count = 0;
};

// Shrinks the box to the bins it really holds and counts its pixels.
void Fit(Box& box, const std::vector<Bin>& bins) {
  std::array<int, 3> lo{kSide, kSide, kSide}, hi{-1, -1, -1};
  qint64 count = 0;
  for (int r = box.lo[0]; r <= box.hi[0]; ++r)
    for (int g = box.lo[1]; g <= box.hi[1]; ++g)
      for (int b = box.lo[2]; b <= box.hi[2]; ++b) {
        const Bin& bin = bins[size_t(BinIndex(r, g, b))];
        if (bin.count == 0) continue;
        count += bin.count;
        const int c[3] = {r, g, b};
        for (int k = 0; k < 3; ++k) {
          lo[size_t(k)] = std::min(lo[size_t(k)], c[k]);
          hi[size_t(k)] = std::max(hi[size_t(k)], c[k]);
        }
      }
  box.count = count;
  if (count > 0) {
    box.lo = lo;
    box.hi = hi;
  }
}

// Green counts most and blue least for how different two colours look.
constexpr int kWeight[3] = {3, 4, 2};

int LongestSide(const Box& box) {
  int best = 0, bestLength = -1;
  for (int k = 0; k < 3; ++k) {
    const int length = (box.hi[size_t(k)] - box.lo[size_t(k)]) * kWeight[k];
    if (length > bestLength) {
      bestLength = length;
      best = k;
    }
  }
  return best;
}

// Splits the box across its longest side at the median pixel; false if it is one bin.
bool Split(Box& box, Box& other, const std::vector<Bin>& bins) {
  const int axis = LongestSide(box);
  const size_t a = size_t(axis);
  if (box.hi[a] == box.lo[a]) return false;
  std::vector<qint64> slab(size_t(kSide), 0);
  for (int r = box.lo[0]; r <= box.hi[0]; ++r)
    for (int g = box.lo[1]; g <= box.hi[1]; ++g)
      for (int b = box.lo[2]; b <= box.hi[2]; ++b) {
        const int c[3] = {r, g, b};
        slab[size_t(c[axis])] += bins[size_t(BinIndex(r, g, b))].count;
      }
  qint64 running = 0;
  int cut = box.lo[a];
  for (int v = box.lo[a]; v < box.hi[a]; ++v) {
    running += slab[size_t(v)];
    cut = v;
    if (running * 2 >= box.count) break;
  }
  other = box;
  box.hi[a] = cut;
  other.lo[a] = cut + 1;
  Fit(box, bins);
  Fit(other, bins);
  return true;
}

QRgb Mean(const Box& box, const std::vector<Bin>& bins) {
  qint64 sum[3] = {0, 0, 0}, count = 0;
  for (int r = box.lo[0]; r <= box.hi[0]; ++r)
    for (int g = box.lo[1]; g <= box.hi[1]; ++g)
      for (int b = box.lo[2]; b <= box.hi[2]; ++b) {
        const Bin& bin = bins[size_t(BinIndex(r, g, b))];
        count += bin.count;
        for (int k = 0; k < 3; ++k) sum[k] += bin.sum[k];
      }
  if (count == 0) return qRgb(0, 0, 0);
  return qRgb(int((sum[0] + count / 2) / count), int((sum[1] + count / 2) / count),
              int((sum[2] + count / 2) / count));
}

int Distance(int r, int g, int b, QRgb c) {
  const int dr = r - qRed(c), dg = g - qGreen(c), db = b - qBlue(c);
  return kWeight[0] * dr * dr + kWeight[1] * dg * dg + kWeight[2] * db * db;
}
}  // namespace

QRgb PaletteQuantizer::lifted(QRgb c) const {
  if (std::max({qRed(c), qGreen(c), qBlue(c)}) >= m_inkFloor) return c;
  return qRgb(std::max(qRed(c), m_inkFloor), std::max(qGreen(c), m_inkFloor),
              std::max(qBlue(c), m_inkFloor));
}

QImage PaletteQuantizer::quantize(const QImage& rgb32, const QImage& hole) const {
  const int w = rgb32.width(), h = rgb32.height();
  auto isHole = [&hole](int x, int y) { return !hole.isNull() && hole.constScanLine(y)[x] != 0; };
  bool anyHole = false;
  for (int y = 0; y < h && !anyHole; ++y)
    for (int x = 0; x < w; ++x)
      if (isHole(x, y)) {
        anyHole = true;
        break;
      }
  const int first = anyHole ? 1 : 0;
  const int room = m_maxColours - first;

  // The artwork's own colours, lifted off black; std::map keeps them in a fixed order.
  std::map<QRgb, int> exact;
  bool tooMany = false;
  for (int y = 0; y < h && !tooMany; ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(rgb32.constScanLine(y));
    for (int x = 0; x < w; ++x) {
      if (isHole(x, y)) continue;
      exact.emplace(lifted(row[x]) | 0xFF000000u, 0);
      if (int(exact.size()) > room) {
        tooMany = true;
        break;
      }
    }
  }

  QList<QRgb> palette;
  if (anyHole) palette << qRgb(0, 0, 0);
  QImage out(w, h, QImage::Format_Indexed8);
  if (!tooMany) {
    for (auto& [colour, index] : exact) {
      index = int(palette.size());
      palette << colour;
    }
    // GIF palettes come in powers of two; pad with the first colour rather than black.
    while (palette.size() < 2) palette << palette.value(0, qRgb(255, 255, 255));
    out.setColorTable(palette);
    for (int y = 0; y < h; ++y) {
      const auto* row = reinterpret_cast<const QRgb*>(rgb32.constScanLine(y));
      uchar* dst = out.scanLine(y);
      for (int x = 0; x < w; ++x)
        dst[x] = isHole(x, y) ? 0 : uchar(exact[lifted(row[x]) | 0xFF000000u]);
    }
    return out;
  }

  std::vector<Bin> bins(size_t(kSide * kSide * kSide));
  for (int y = 0; y < h; ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(rgb32.constScanLine(y));
    for (int x = 0; x < w; ++x) {
      if (isHole(x, y)) continue;
      const QRgb c = lifted(row[x]);
      Bin& bin = bins[size_t(BinIndex(qRed(c) >> kShift, qGreen(c) >> kShift, qBlue(c) >> kShift))];
      ++bin.count;
      bin.sum[0] += qRed(c);
      bin.sum[1] += qGreen(c);
      bin.sum[2] += qBlue(c);
    }
  }
  std::vector<Box> boxes(1);
  boxes[0].hi = {kSide - 1, kSide - 1, kSide - 1};
  Fit(boxes[0], bins);
  while (int(boxes.size()) < room) {
    // Split the box that holds the most pixels times its spread; ties go to the earliest.
    int pick = -1;
    qint64 best = 0;
    for (size_t i = 0; i < boxes.size(); ++i) {
      const int axis = LongestSide(boxes[i]);
      const qint64 spread = boxes[i].hi[size_t(axis)] - boxes[i].lo[size_t(axis)];
      const qint64 score = boxes[i].count * spread;
      if (spread > 0 && score > best) {
        best = score;
        pick = int(i);
      }
    }
    if (pick < 0) break;
    Box other;
    if (!Split(boxes[size_t(pick)], other, bins)) break;
    boxes.push_back(other);
  }
  for (const Box& box : boxes) palette << lifted(Mean(box, bins));
  out.setColorTable(palette);

  // Floyd-Steinberg over the artwork only: the hole neither takes nor passes on error.
  std::vector<std::array<int, 3>> carry(size_t(w) + 2), next(size_t(w) + 2);
  std::vector<qint16> cache(size_t(1) << 24, -1);
  for (int y = 0; y < h; ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(rgb32.constScanLine(y));
    uchar* dst = out.scanLine(y);
    std::fill(next.begin(), next.end(), std::array<int, 3>{0, 0, 0});
    const bool leftToRight = (y % 2) == 0;
    for (int i = 0; i < w; ++i) {
      const int x = leftToRight ? i : w - 1 - i;
      if (isHole(x, y)) {
        dst[x] = 0;
        continue;
      }
      const QRgb c = lifted(row[x]);
      const auto& e = carry[size_t(x) + 1];
      const int r = std::clamp(qRed(c) + e[0] / 16, 0, 255);
      const int g = std::clamp(qGreen(c) + e[1] / 16, 0, 255);
      const int b = std::clamp(qBlue(c) + e[2] / 16, 0, 255);
      qint16& cached = cache[size_t((r << 16) | (g << 8) | b)];
      if (cached < 0) {
        int best = first, bestDistance = Distance(r, g, b, palette[first]);
        for (int k = first + 1; k < palette.size(); ++k) {
          const int d = Distance(r, g, b, palette[k]);
          if (d < bestDistance) {
            bestDistance = d;
            best = k;
          }
        }
        cached = qint16(best);
      }
      dst[x] = uchar(cached);
      const QRgb chosen = palette[cached];
      const int err[3] = {r - qRed(chosen), g - qGreen(chosen), b - qBlue(chosen)};
      const int ahead = leftToRight ? 1 : -1;
      for (int k = 0; k < 3; ++k) {
        carry[size_t(x + ahead) + 1][size_t(k)] += err[k] * 7;
        next[size_t(x - ahead) + 1][size_t(k)] += err[k] * 3;
        next[size_t(x) + 1][size_t(k)] += err[k] * 5;
        next[size_t(x + ahead) + 1][size_t(k)] += err[k] * 1;
      }
    }
    std::swap(carry, next);
  }
  return out;
}
