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
}  // namespace

int ApplySpatialFilter(ImageBitmap& bmp, int, int option) {
  if (option < 0 || option >= kSpatialFilterCount) return ERROR_INV_PARAMETER;
  if (!bmp.hasPixels()) return ERROR_NO_BITMAP;
  const SpatialKernel& kernel = kFilters[option];
  const QImage source = EffectSource(bmp);
  QImage target = NewEffectTarget(source);
  if (target.isNull()) return ERROR_NO_MEMORY;
  const TargetRows out(target);
  const int width = source.width();
  const int height = source.height();

  const bool finished = ForEachRowBand(height, [&](int first, int end) {
    for (int y = first; y < end; ++y) {
      const QRgb* rows[3] = {SourceRow(source, ClampIndex(y - 1, height)), SourceRow(source, y),
                             SourceRow(source, ClampIndex(y + 1, height))};
      QRgb* to = out[y];
      for (int x = 0; x < width; ++x) {
        const int columns[3] = {ClampIndex(x - 1, width), x, ClampIndex(x + 1, width)};
        int sum[3] = {0, 0, 0};
        for (int j = 0; j < 3; ++j)
          for (int i = 0; i < 3; ++i) {
            const int w = kernel.weights[3 * j + i];
            if (w == 0) continue;
            const QRgb p = rows[j][columns[i]];
            sum[0] += w * qRed(p);
            sum[1] += w * qGreen(p);
            sum[2] += w * qBlue(p);
          }
        if (kernel.absolute)
          for (int& s : sum) s = s < 0 ? -s : s;
        to[x] = qRgba(ClampComponent(sum[0]), ClampComponent(sum[1]), ClampComponent(sum[2]), qAlpha(rows[1][x]));
      }
    }
  });
  if (!finished) return ERROR_USER_ABORT;
  return FinishEffect(bmp, std::move(target));
}
