#include <cstdlib>
#include <vector>

#include "img/EffectSupport.h"
#include "img/Neighbourhood.h"
#include "img/ltimg.h"

namespace {
// A 3 x 3 kernel, rows top to bottom. Kernels whose weights sum to zero answer with the
// size of the response (its absolute value); the others are clamped like any colour.
struct SpatialKernel {
  int weights[9];
  bool absolute;
};

// Embossing: the picture plus its slope toward one side. Gradients: compass masks.
constexpr SpatialKernel kFilters[kSpatialFilterCount] = {
    {{0, 1, 0, 0, 1, 0, 0, -1, 0}, false},      // emboss, north
    {{0, 0, 1, 0, 1, 0, -1, 0, 0}, false},      // northeast
    {{0, 0, 0, -1, 1, 1, 0, 0, 0}, false},      // east
    {{-1, 0, 0, 0, 1, 0, 0, 0, 1}, false},      // southeast
    {{0, -1, 0, 0, 1, 0, 0, 1, 0}, false},      // south
    {{0, 0, -1, 0, 1, 0, 1, 0, 0}, false},      // southwest
    {{0, 0, 0, 1, 1, -1, 0, 0, 0}, false},      // west
    {{1, 0, 0, 0, 1, 0, 0, 0, -1}, false},      // northwest
    {{1, 1, 1, 1, -2, 1, -1, -1, -1}, true},    // gradient, north
    {{1, 1, 1, -1, -2, 1, -1, -1, 1}, true},    // northeast
    {{-1, 1, 1, -1, -2, 1, -1, 1, 1}, true},    // east
    {{-1, -1, 1, -1, -2, 1, 1, 1, 1}, true},    // southeast
    {{-1, -1, -1, 1, -2, 1, 1, 1, 1}, true},    // south
    {{1, -1, -1, 1, -2, -1, 1, 1, 1}, true},    // southwest
    {{1, 1, -1, 1, -2, -1, 1, 1, -1}, true},    // west
    {{1, 1, 1, 1, -2, -1, 1, -1, -1}, true},    // northwest
    {{0, -1, 0, -1, 4, -1, 0, -1, 0}, true},    // Laplacian 1
    {{-1, -1, -1, -1, 8, -1, -1, -1, -1}, true},  // Laplacian 2
    {{1, -2, 1, -2, 4, -2, 1, -2, 1}, true},    // Laplacian 3
    {{-1, 0, -1, 0, 4, 0, -1, 0, -1}, true},    // Laplacian, diagonal
    {{0, -1, 0, 0, 2, 0, 0, -1, 0}, true},      // Laplacian, horizontal lines
    {{0, 0, 0, -1, 2, -1, 0, 0, 0}, true},      // Laplacian, vertical lines
    {{-1, -2, -1, 0, 0, 0, 1, 2, 1}, true},     // Sobel, horizontal edges
    {{-1, 0, 1, -2, 0, 2, -1, 0, 1}, true},     // Sobel, vertical edges
    {{-1, -1, -1, 0, 0, 0, 1, 1, 1}, true},     // Prewitt, horizontal edges
    {{-1, 0, 1, -1, 0, 1, -1, 0, 1}, true},     // Prewitt, vertical edges
    {{-1, 0, 0, 0, 1, 0, 0, 0, 0}, true},       // shift and difference, diagonal
    {{0, -1, 0, 0, 1, 0, 0, 0, 0}, true},       // shift and difference, horizontal edges
    {{0, 0, 0, -1, 1, 0, 0, 0, 0}, true},       // shift and difference, vertical edges
    {{-1, -1, -1, 2, 2, 2, -1, -1, -1}, true},  // line segments, horizontal
    {{-1, 2, -1, -1, 2, -1, -1, 2, -1}, true},  // line segments, vertical
    {{2, -1, -1, -1, 2, -1, -1, -1, 2}, true},  // line segments, top left to bottom right
    {{-1, -1, 2, -1, 2, -1, 2, -1, -1}, true},  // line segments, top right to bottom left
};

// A row split into its red, green and blue planes, each with the edge pixel repeated once
// on both sides, so the filter's inner loops are plain sums the compiler can vectorise.
struct PlaneRow {
  std::vector<int16_t> planes[3];

  void Fill(const QRgb* in, int width) {
    for (std::vector<int16_t>& plane : planes) plane.resize(size_t(width) + 2);
    for (int x = 0; x < width; ++x) {
      planes[0][size_t(x) + 1] = int16_t(qRed(in[x]));
      planes[1][size_t(x) + 1] = int16_t(qGreen(in[x]));
      planes[2][size_t(x) + 1] = int16_t(qBlue(in[x]));
    }
    for (std::vector<int16_t>& plane : planes) {
      plane[0] = plane[1];
      plane[size_t(width) + 1] = plane[size_t(width)];
    }
  }
};

void FilterRows(const SpatialKernel& kernel, const QImage& source, const TargetRows& out, int first, int end) {
  const int width = source.width();
  const int height = source.height();
  // The rows above, at and below the current one, by source row in a ring of three.
  PlaneRow ring[3];
  int held[3] = {-1, -1, -1};
  auto rowAt = [&](int y) -> const PlaneRow& {
    const int row = ClampIndex(y, height);
    const int slot = row % 3;
    if (held[slot] != row) {
      ring[slot].Fill(SourceRow(source, row), width);
      held[slot] = row;
    }
    return ring[slot];
  };
  std::vector<int32_t> sum(static_cast<size_t>(width));
  std::vector<uint8_t> result[3];
  for (std::vector<uint8_t>& plane : result) plane.resize(size_t(width));
  for (int y = first; y < end; ++y) {
    const PlaneRow* rows[3] = {&rowAt(y - 1), &rowAt(y), &rowAt(y + 1)};
    for (int c = 0; c < 3; ++c) {
      std::fill(sum.begin(), sum.end(), 0);
      for (int j = 0; j < 3; ++j)
        for (int i = 0; i < 3; ++i) {
          const int32_t w = kernel.weights[3 * j + i];
          if (w == 0) continue;
          const int16_t* in = rows[j]->planes[c].data() + i;
          for (int x = 0; x < width; ++x) sum[size_t(x)] += w * in[x];
        }
      uint8_t* to = result[c].data();
      if (kernel.absolute)
        for (int x = 0; x < width; ++x) to[x] = ClampComponent(std::abs(sum[size_t(x)]));
      else
        for (int x = 0; x < width; ++x) to[x] = ClampComponent(sum[size_t(x)]);
    }
    const QRgb* in = SourceRow(source, y);
    QRgb* to = out[y];
    for (int x = 0; x < width; ++x)
      to[x] = qRgba(result[0][size_t(x)], result[1][size_t(x)], result[2][size_t(x)], qAlpha(in[x]));
  }
}
}  // namespace

int ApplySpatialFilter(ImageBitmap& bmp, int, int option) {
  if (option < 0 || option >= kSpatialFilterCount) return ERROR_INV_PARAMETER;
  const SpatialKernel& kernel = kFilters[option];
  return ApplyByRowBands(bmp, [&kernel](const QImage& source, const TargetRows& out, int first, int end) {
    FilterRows(kernel, source, out, first, end);
  });
}
