#include "dis/Resampler.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {
// For every output pixel of one axis, the kept source pixels it draws on and their weights.
struct AxisTaps {
  std::vector<int> first;
  std::vector<int> count;
  std::vector<int> offset;
  std::vector<float> weights;
};

AxisTaps BuildTaps(const AxisMapping& m, qint64 outBegin, int outCount) {
  AxisTaps taps;
  taps.first.resize(size_t(outCount));
  taps.count.resize(size_t(outCount));
  taps.offset.resize(size_t(outCount));
  const double ratio = double(m.sourceLength) / double(m.destLength);
  const int keptLength = int(m.keptEnd - m.keptBegin);
  const double kept0 = double(m.keptBegin);
  const bool shrinks = m.destLength < m.sourceLength;
  for (int k = 0; k < outCount; ++k) {
    const double i = double(outBegin + k - m.destBegin);
    taps.offset[size_t(k)] = int(taps.weights.size());
    if (!shrinks) {
      const double u = (i + 0.5) * ratio - 0.5 - kept0;
      const double floorU = std::floor(u);
      const float f = float(u - floorU);
      const int lo = int(std::clamp(floorU, 0.0, double(keptLength - 1)));
      const int hi = int(std::clamp(floorU + 1, 0.0, double(keptLength - 1)));
      taps.first[size_t(k)] = lo;
      if (lo == hi || f == 0.0f) {
        taps.weights.push_back(1.0f);
      } else {
        taps.weights.push_back(1.0f - f);
        taps.weights.push_back(f);
      }
    } else {
      const double lo = std::clamp(i * ratio - kept0, 0.0, double(keptLength));
      const double hi = std::clamp((i + 1) * ratio - kept0, 0.0, double(keptLength));
      int j0 = std::min(int(std::floor(lo)), keptLength - 1);
      const int j1 = std::max(int(std::ceil(hi)), j0 + 1);
      float total = 0;
      for (int j = j0; j < j1; ++j) {
        const float w = float(std::min(hi, j + 1.0) - std::max(lo, double(j)));
        taps.weights.push_back(std::max(w, 0.0f));
        total += std::max(w, 0.0f);
      }
      if (total <= 0) {  // rounding left no overlap: take the nearest pixel
        taps.weights.resize(size_t(taps.offset[size_t(k)]));
        taps.weights.push_back(1.0f);
        total = 1;
      }
      for (size_t t = size_t(taps.offset[size_t(k)]); t < taps.weights.size(); ++t)
        taps.weights[t] /= total;
      taps.first[size_t(k)] = j0;
    }
    taps.count[size_t(k)] = int(taps.weights.size()) - taps.offset[size_t(k)];
  }
  return taps;
}

// Source rows resampled horizontally. Output rows ask for their source rows in increasing
// order and each row is used at once, so a shallow ring keeps every row that a following
// output row shares, whatever the depth of the vertical filter.
class RowCache {
 public:
  RowCache(const QImage& kept, const AxisTaps& columns, int depth)
      : kept_(kept), columns_(columns), rows_(size_t(depth)), tags_(size_t(depth), -1) {}

  const float* row(int sourceRow) {
    const size_t slot = size_t(sourceRow) % rows_.size();
    if (tags_[slot] != sourceRow) {
      fill(sourceRow, rows_[slot]);
      tags_[slot] = sourceRow;
    }
    return rows_[slot].data();
  }

 private:
  void fill(int sourceRow, std::vector<float>& out) const {
    const size_t width = columns_.first.size();
    out.assign(width * 4, 0.0f);
    const QRgb* in = reinterpret_cast<const QRgb*>(kept_.constScanLine(sourceRow));
    for (size_t k = 0; k < width; ++k) {
      const float* w = columns_.weights.data() + columns_.offset[k];
      const QRgb* p = in + columns_.first[k];
      float a = 0, r = 0, g = 0, b = 0;
      for (int t = 0; t < columns_.count[k]; ++t) {
        a += w[t] * float(qAlpha(p[t]));
        r += w[t] * float(qRed(p[t]));
        g += w[t] * float(qGreen(p[t]));
        b += w[t] * float(qBlue(p[t]));
      }
      float* o = out.data() + k * 4;
      o[0] = a, o[1] = r, o[2] = g, o[3] = b;
    }
  }

  const QImage& kept_;
  const AxisTaps& columns_;
  std::vector<std::vector<float>> rows_;
  std::vector<int> tags_;
};

int ToByte(float v) { return int(std::clamp(v + 0.5f, 0.0f, 255.0f)); }
}  // namespace

QImage ResampleWindow(const QImage& kept, const AxisMapping& x, const AxisMapping& y,
                      const QRect& visible) {
  if (x.isIdentity() && y.isIdentity()) {
    return kept.copy(QRect(int(visible.left() - x.destBegin - x.keptBegin),
                           int(visible.top() - y.destBegin - y.keptBegin), visible.width(),
                           visible.height()));
  }
  QImage out(visible.size(), kept.format());
  if (out.isNull()) return out;
  const bool opaque = !kept.hasAlphaChannel();
  const AxisTaps columns = BuildTaps(x, visible.left(), visible.width());
  const AxisTaps rows = BuildTaps(y, visible.top(), visible.height());
  RowCache cache(kept, columns, 4);
  std::vector<float> sum(size_t(visible.width()) * 4);
  for (int k = 0; k < visible.height(); ++k) {
    std::fill(sum.begin(), sum.end(), 0.0f);
    const float* w = rows.weights.data() + rows.offset[size_t(k)];
    for (int t = 0; t < rows.count[size_t(k)]; ++t) {
      const float* in = cache.row(rows.first[size_t(k)] + t);
      for (size_t c = 0; c < sum.size(); ++c) sum[c] += w[t] * in[c];
    }
    QRgb* line = reinterpret_cast<QRgb*>(out.scanLine(k));
    for (int c = 0; c < visible.width(); ++c) {
      const float* s = sum.data() + size_t(c) * 4;
      const int a = opaque ? 255 : ToByte(s[0]);
      // Premultiplied colour never exceeds its alpha, whatever rounding did.
      line[c] = qRgba(std::min(ToByte(s[1]), a), std::min(ToByte(s[2]), a),
                      std::min(ToByte(s[3]), a), a);
    }
  }
  return out;
}
