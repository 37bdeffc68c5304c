#include <algorithm>
#include <cstring>
#include <vector>

#include "img/EffectSupport.h"
#include "img/Neighbourhood.h"
#include "img/ltimg.h"

// Constant-time median (Perreault and Hébert): a histogram per column of the window's
// rows, moved down a row by one removal and one addition; the window's histogram moved
// right by adding one column's and removing another's. Histograms are two-level (16
// coarse bins of 16 fine ones); the coarse level moves every pixel, a fine segment only
// when the median falls in it, so a pixel costs the same whatever the window's size.
namespace {
constexpr int kCoarse = 16;
constexpr int kBins = 256;
// Columns worked on together: their histograms (about 850 bytes a column) stay in cache.
constexpr int kStripWidth = 256;

struct ComponentHistograms {
  // Per column: kBins fine counts, then kCoarse coarse counts.
  std::vector<uint8_t> fine;
  std::vector<uint8_t> coarse;
  // The window's.
  uint16_t windowFine[kBins];
  uint16_t windowCoarse[kCoarse];
  // The window position each fine segment was last brought up to.
  int segmentAt[kCoarse];

  explicit ComponentHistograms(int width) : fine(size_t(width) * kBins), coarse(size_t(width) * kCoarse) {}
  uint8_t* Fine(int x) { return fine.data() + size_t(x) * kBins; }
  uint8_t* Coarse(int x) { return coarse.data() + size_t(x) * kCoarse; }
  void Add(int x, int v) {
    ++Fine(x)[v];
    ++Coarse(x)[v >> 4];
  }
  void Remove(int x, int v) {
    --Fine(x)[v];
    --Coarse(x)[v >> 4];
  }
};

inline int ComponentOf(QRgb p, int c) { return int((p >> (16 - 8 * c)) & 0xff); }

// The medians of the columns [first, end) of a picture `width` wide; its histograms cover
// the columns their windows reach, so that a strip's stay in the processor's cache.
class MedianStrip {
 public:
  MedianStrip(int width, int first, int end, const Neighbourhood& n)
      : width_(width), first_(first), end_(end), low_(ClampIndex(first - n.before, width)),
        high_(ClampIndex(end - 1 + n.after, width)), n_(n), rank_((n.size * n.size + 1) / 2) {
    for (int c = 0; c < 3; ++c) histograms_.emplace_back(high_ - low_ + 1);
    result_.resize(size_t(end - first) * 3);
  }

  void AddRow(const QRgb* row) {
    for (int c = 0; c < 3; ++c)
      for (int x = low_; x <= high_; ++x) histograms_[size_t(c)].Add(x - low_, ComponentOf(row[x], c));
  }
  void RemoveRow(const QRgb* row) {
    for (int c = 0; c < 3; ++c)
      for (int x = low_; x <= high_; ++x) histograms_[size_t(c)].Remove(x - low_, ComponentOf(row[x], c));
  }

  void Filter(const QRgb* in, QRgb* out) {
    for (int c = 0; c < 3; ++c) FilterComponent(histograms_[size_t(c)], result_.data() + c, 3);
    for (int x = first_; x < end_; ++x) {
      const uint8_t* m = result_.data() + 3 * size_t(x - first_);
      out[x] = qRgba(m[0], m[1], m[2], qAlpha(in[x]));
    }
  }

 private:
  // A column of the picture as an index into the strip's histograms.
  int Column(int x) const { return ClampIndex(x, width_) - low_; }

  void FilterComponent(ComponentHistograms& h, uint8_t* out, int step) {
    std::memset(h.windowCoarse, 0, sizeof h.windowCoarse);
    for (int i = first_ - n_.before; i <= first_ + n_.after; ++i) {
      const uint8_t* coarse = h.Coarse(Column(i));
      for (int k = 0; k < kCoarse; ++k) h.windowCoarse[k] += coarse[k];
    }
    for (int k = 0; k < kCoarse; ++k) h.segmentAt[k] = -(1 << 30);
    for (int x = first_; x < end_; ++x) {
      // The coarse bin holding the median.
      int below = 0;
      int k = 0;
      while (below + h.windowCoarse[k] < rank_) below += h.windowCoarse[k++];
      BringSegmentTo(h, k, x);
      const uint16_t* segment = h.windowFine + k * kCoarse;
      int i = 0;
      while (below + segment[i] < rank_) below += segment[i++];
      out[size_t(x - first_) * size_t(step)] = uint8_t(k * kCoarse + i);
      // Slide the coarse window one column right, within the strip's columns.
      if (x + 1 == end_) break;
      const uint8_t* entering = h.Coarse(Column(x + 1 + n_.after));
      const uint8_t* leaving = h.Coarse(Column(x - n_.before));
      for (int j = 0; j < kCoarse; ++j) h.windowCoarse[j] = uint16_t(h.windowCoarse[j] + entering[j] - leaving[j]);
    }
  }

  void BringSegmentTo(ComponentHistograms& h, int k, int x) {
    uint16_t* segment = h.windowFine + k * kCoarse;
    const int at = h.segmentAt[k];
    if (x - at > n_.size) {
      std::memset(segment, 0, kCoarse * sizeof(uint16_t));
      for (int i = x - n_.before; i <= x + n_.after; ++i) {
        const uint8_t* column = h.Fine(Column(i)) + k * kCoarse;
        for (int j = 0; j < kCoarse; ++j) segment[j] = uint16_t(segment[j] + column[j]);
      }
    } else {
      for (int p = at + 1; p <= x; ++p) {
        const uint8_t* entering = h.Fine(Column(p + n_.after)) + k * kCoarse;
        const uint8_t* leaving = h.Fine(Column(p - 1 - n_.before)) + k * kCoarse;
        for (int j = 0; j < kCoarse; ++j) segment[j] = uint16_t(segment[j] + entering[j] - leaving[j]);
      }
    }
    h.segmentAt[k] = x;
  }

  int width_;
  int first_, end_;
  int low_, high_;
  Neighbourhood n_;
  int rank_;
  std::vector<ComponentHistograms> histograms_;
  std::vector<uint8_t> result_;
};
}  // namespace

int ApplyMedian(ImageBitmap& bmp, int value, int) {
  if (const std::optional<int> done = NeighbourhoodShortcut(bmp, value)) return *done;
  const Neighbourhood n(value);
  return ApplyByRowBands(bmp, [&](const QImage& source, const TargetRows& out, int first, int end) {
    const int width = source.width();
    const int height = source.height();
    for (int left = 0; left < width; left += kStripWidth) {
      MedianStrip median(width, left, std::min(width, left + kStripWidth), n);
      for (int i = first - n.before; i <= first + n.after; ++i) median.AddRow(SourceRow(source, ClampIndex(i, height)));
      for (int y = first; y < end; ++y) {
        median.Filter(SourceRow(source, y), out[y]);
        if (y + 1 == end) break;
        median.RemoveRow(SourceRow(source, ClampIndex(y - n.before, height)));
        median.AddRow(SourceRow(source, ClampIndex(y + 1 + n.after, height)));
      }
    }
  }, std::max(16, 4 * value));
}
