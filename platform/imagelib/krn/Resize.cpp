#include <algorithm>
#include <cmath>
#include <deque>
#include <vector>

#include "krn/ParallelRows.h"
#include "krn/PictureLimits.h"
#include "krn/ltkrn.h"

// Separable resampling. Shrinking averages the exact area each output pixel covers, so
// fine detail folds into the right mean instead of aliasing; enlarging is bicubic.
namespace {

struct AxisWeights {
  std::vector<int> first;     // first source index per output index
  std::vector<int> count;     // number of source indices per output index
  std::vector<int> offset;    // start of that output's weights in `weights`
  std::vector<float> weights;
};

// The Catmull-Rom cubic: sharp without the ringing of wider filters.
double CubicWeight(double distance) {
  const double d = std::abs(distance);
  if (d < 1) return (1.5 * d - 2.5) * d * d + 1;
  if (d < 2) return ((-0.5 * d + 2.5) * d - 4) * d + 2;
  return 0;
}

AxisWeights ComputeAxisWeights(int sourceSize, int targetSize) {
  AxisWeights axis;
  axis.first.resize(size_t(targetSize));
  axis.count.resize(size_t(targetSize));
  axis.offset.resize(size_t(targetSize));
  const double ratio = double(sourceSize) / targetSize;
  for (int i = 0; i < targetSize; ++i) {
    axis.offset[size_t(i)] = int(axis.weights.size());
    if (targetSize == sourceSize) {
      axis.first[size_t(i)] = i;
      axis.count[size_t(i)] = 1;
      axis.weights.push_back(1);
    } else if (targetSize < sourceSize) {
      const double begin = i * ratio;
      const double end = (i + 1) * ratio;
      const int first = int(std::floor(begin));
      const int last = std::min(sourceSize - 1, int(std::ceil(end)) - 1);
      for (int j = first; j <= last; ++j) {
        const double overlap = std::min(end, double(j + 1)) - std::max(begin, double(j));
        axis.weights.push_back(float(overlap / ratio));
      }
      axis.first[size_t(i)] = first;
      axis.count[size_t(i)] = last - first + 1;
    } else {
      // Catmull-Rom over the four nearest source pixels; taps beyond an edge repeat it.
      const double centre = (i + 0.5) * ratio - 0.5;
      const int j0 = int(std::floor(centre));
      const int lowest = std::clamp(j0 - 1, 0, sourceSize - 1);
      const int highest = std::clamp(j0 + 2, 0, sourceSize - 1);
      float taps[4] = {0, 0, 0, 0};
      for (int j = j0 - 1; j <= j0 + 2; ++j)
        taps[std::clamp(j, 0, sourceSize - 1) - lowest] += float(CubicWeight(centre - j));
      axis.first[size_t(i)] = lowest;
      axis.count[size_t(i)] = highest - lowest + 1;
      for (int k = 0; k <= highest - lowest; ++k) axis.weights.push_back(taps[k]);
    }
  }
  return axis;
}

// One source row resampled horizontally, four float channels per output pixel.
void ResampleRow(const QRgb* in, const AxisWeights& axis, float* out) {
  const size_t width = axis.first.size();
  for (size_t x = 0; x < width; ++x) {
    const QRgb* p = in + axis.first[x];
    const float* w = axis.weights.data() + axis.offset[x];
    float b = 0, g = 0, r = 0, a = 0;
    for (int k = 0; k < axis.count[x]; ++k) {
      const QRgb px = p[k];
      b += w[k] * float(px & 0xff);
      g += w[k] * float((px >> 8) & 0xff);
      r += w[k] * float((px >> 16) & 0xff);
      a += w[k] * float(px >> 24);
    }
    out[4 * x] = b;
    out[4 * x + 1] = g;
    out[4 * x + 2] = r;
    out[4 * x + 3] = a;
  }
}

inline uint32_t Channel(float value) {
  return uint32_t(std::clamp(int(value + 0.5f), 0, 255));
}

// Resamples 32-bit pixels in bands of output rows on every core; within a band, source
// rows are fetched lazily so memory stays at a few rows a band.
QImage Resample(const QImage& source, int width, int height, bool& aborted) {
  // The cubic may overshoot: a premultiplied colour must stay within its alpha.
  const bool premultiplied = source.format() == QImage::Format_ARGB32_Premultiplied;
  QImage target(width, height, source.format());
  if (target.isNull()) return target;
  const AxisWeights columns = ComputeAxisWeights(source.width(), width);
  const AxisWeights rows = ComputeAxisWeights(source.height(), height);
  uchar* const bits = target.bits();
  const qsizetype stride = target.bytesPerLine();

  struct CachedRow {
    int index;
    std::vector<float> values;
  };
  const bool finished = ForEachRowBand(height, [&](int firstRow, int endRow) {
    std::deque<CachedRow> cache;
    std::vector<float> sum(size_t(width) * 4);
    for (int y = firstRow; y < endRow; ++y) {
      const int first = rows.first[size_t(y)];
      const int count = rows.count[size_t(y)];
      while (!cache.empty() && cache.front().index < first) cache.pop_front();
      std::fill(sum.begin(), sum.end(), 0.0f);
      for (int k = 0; k < count; ++k) {
        const int rowIndex = first + k;
        auto it = std::find_if(cache.begin(), cache.end(),
                               [rowIndex](const CachedRow& row) { return row.index == rowIndex; });
        if (it == cache.end()) {
          cache.push_back({rowIndex, std::vector<float>(size_t(width) * 4)});
          ResampleRow(reinterpret_cast<const QRgb*>(source.constScanLine(rowIndex)), columns,
                      cache.back().values.data());
          it = std::prev(cache.end());
        }
        const float weight = rows.weights[size_t(rows.offset[size_t(y)] + k)];
        const float* values = it->values.data();
        for (size_t i = 0; i < sum.size(); ++i) sum[i] += weight * values[i];
      }
      QRgb* out = reinterpret_cast<QRgb*>(bits + stride * y);
      for (int x = 0; x < width; ++x) {
        const float* s = &sum[size_t(x) * 4];
        const uint32_t alpha = Channel(s[3]);
        const uint32_t most = premultiplied ? alpha : 255;
        out[x] = std::min(Channel(s[0]), most) | (std::min(Channel(s[1]), most) << 8) |
                 (std::min(Channel(s[2]), most) << 16) | (alpha << 24);
      }
    }
  }, 0, 100, 4);
  if (!finished) {
    aborted = true;
    return QImage();
  }
  return target;
}
}  // namespace

int ResizeBitmap(ImageBitmap& bmp, int width, int height) {
  if (width <= 0 || height <= 0) return ERROR_INV_PARAMETER;
  if (!bmp.hasPixels()) return ERROR_NO_BITMAP;
  if (!PictureSizeAllowed(width, height)) return ERROR_IMAGE_TOO_LARGE;
  if (width == bmp.Width && height == bmp.Height) return SUCCESS;

  const QImage::Format original = bmp.Pixels.format();
  QImage source = BitmapToRgb32(bmp);
  const bool alpha = source.format() == QImage::Format_ARGB32;
  // Averaging straight alpha would bleed the colour of transparent pixels.
  if (alpha) source = source.convertToFormat(QImage::Format_ARGB32_Premultiplied);

  bool aborted = false;
  QImage result = Resample(source, width, height, aborted);
  if (aborted) return ERROR_USER_ABORT;
  if (result.isNull()) return ERROR_NO_MEMORY;
  if (alpha) result = result.convertToFormat(QImage::Format_ARGB32);
  // An indexed picture keeps its depth and palette: each pixel takes the nearest entry.
  if (original == QImage::Format_Indexed8)
    result = result.convertToFormat(QImage::Format_Indexed8, bmp.Pixels.colorTable(),
                                    Qt::ThresholdDither);
  if (result.isNull()) return ERROR_NO_MEMORY;
  bmp.Pixels = std::move(result);
  bmp.Width = width;
  bmp.Height = height;
  bmp.Region = QPainterPath();
  return SUCCESS;
}
