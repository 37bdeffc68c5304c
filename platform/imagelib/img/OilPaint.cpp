#include <cstring>
#include <vector>

#include "img/EffectSupport.h"
#include "img/Neighbourhood.h"
#include "img/ltimg.h"

// The window's pixels sorted by brightness into kLevels bins, each bin with the sum of its
// colours; the pixel takes the mean colour of the fullest bin. As for the median, the bins
// are kept per column and moved down a row at a time, and the window's bins are moved right
// by one column's in and another's out, so a pixel costs the same at any size.
namespace {
constexpr int kLevels = 64;

inline int LevelOf(QRgb p) { return ((qRed(p) * 77 + qGreen(p) * 150 + qBlue(p) * 29) >> 8) >> 2; }

struct Bins {
  uint32_t count[kLevels];
  uint32_t red[kLevels];
  uint32_t green[kLevels];
  uint32_t blue[kLevels];

  void Clear() { std::memset(this, 0, sizeof *this); }
  void Add(const Bins& other) {
    for (int i = 0; i < kLevels; ++i) count[i] += other.count[i];
    for (int i = 0; i < kLevels; ++i) red[i] += other.red[i];
    for (int i = 0; i < kLevels; ++i) green[i] += other.green[i];
    for (int i = 0; i < kLevels; ++i) blue[i] += other.blue[i];
  }
  void Put(QRgb p, uint32_t sign) {
    const int level = LevelOf(p);
    count[level] += sign;
    red[level] += sign * uint32_t(qRed(p));
    green[level] += sign * uint32_t(qGreen(p));
    blue[level] += sign * uint32_t(qBlue(p));
  }
  int Fullest() const {
    int best = 0;
    for (int i = 1; i < kLevels; ++i)
      if (count[i] > count[best]) best = i;
    return best;
  }
};

// The window moved one column: one column's bins in, another's out. The inner loop of the
// effect; processors with wider vector units get a build of their own.
#if defined(__x86_64__) && defined(__GNUC__)
__attribute__((target_clones("avx2", "default")))
#endif
void MoveBins(Bins& __restrict window, const Bins& __restrict in, const Bins& __restrict out) {
  for (int i = 0; i < kLevels; ++i) window.count[i] += in.count[i] - out.count[i];
  for (int i = 0; i < kLevels; ++i) window.red[i] += in.red[i] - out.red[i];
  for (int i = 0; i < kLevels; ++i) window.green[i] += in.green[i] - out.green[i];
  for (int i = 0; i < kLevels; ++i) window.blue[i] += in.blue[i] - out.blue[i];
}

inline uint32_t Mean(uint32_t sum, uint32_t count) { return (sum + count / 2) / count; }
}  // namespace

int ApplyOilPaint(ImageBitmap& bmp, int value, int) {
  if (const std::optional<int> done = NeighbourhoodShortcut(bmp, value)) return *done;
  const Neighbourhood n(value);
  return ApplyByRowBands(bmp, [&](const QImage& source, const TargetRows& out, int first, int end) {
    const int width = source.width();
    const int height = source.height();
    std::vector<Bins> columns(static_cast<size_t>(width));
    for (Bins& column : columns) column.Clear();
    auto putRow = [&](int row, uint32_t sign) {
      const QRgb* in = SourceRow(source, ClampIndex(row, height));
      for (int x = 0; x < width; ++x) columns[size_t(x)].Put(in[x], sign);
    };
    for (int i = first - n.before; i <= first + n.after; ++i) putRow(i, 1);
    Bins window;
    for (int y = first; y < end; ++y) {
      window.Clear();
      for (int i = -n.before; i <= n.after; ++i) window.Add(columns[size_t(ClampIndex(i, width))]);
      const QRgb* in = SourceRow(source, y);
      QRgb* to = out[y];
      for (int x = 0; x < width; ++x) {
        const int best = window.Fullest();
        const uint32_t count = window.count[best];
        to[x] = qRgba(int(Mean(window.red[best], count)), int(Mean(window.green[best], count)),
                      int(Mean(window.blue[best], count)), qAlpha(in[x]));
        MoveBins(window, columns[size_t(ClampIndex(x + 1 + n.after, width))],
                 columns[size_t(ClampIndex(x - n.before, width))]);
      }
      if (y + 1 == end) break;
      putRow(y - n.before, uint32_t(-1));
      putRow(y + 1 + n.after, 1);
    }
  }, std::max(16, 4 * value));
}
