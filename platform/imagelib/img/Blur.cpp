#include <vector>

#include "img/EffectSupport.h"
#include "img/Neighbourhood.h"
#include "img/ltimg.h"

namespace {
// The sums of each row's horizontal neighbourhoods, three components a pixel.
void SumRow(const QRgb* in, int width, const Neighbourhood& n, uint32_t* out) {
  uint32_t r = 0, g = 0, b = 0;
  for (int i = -n.before; i <= n.after; ++i) {
    const QRgb p = in[ClampIndex(i, width)];
    r += qRed(p);
    g += qGreen(p);
    b += qBlue(p);
  }
  for (int x = 0; x < width; ++x) {
    out[3 * x] = r;
    out[3 * x + 1] = g;
    out[3 * x + 2] = b;
    const QRgb enter = in[ClampIndex(x + 1 + n.after, width)];
    const QRgb leave = in[ClampIndex(x - n.before, width)];
    r += qRed(enter) - qRed(leave);
    g += qGreen(enter) - qGreen(leave);
    b += qBlue(enter) - qBlue(leave);
  }
}
}  // namespace

// Running sums both ways: each pixel costs the same whatever the neighbourhood's size.
int ApplyBlur(ImageBitmap& bmp, int value, int) {
  if (const std::optional<int> done = NeighbourhoodShortcut(bmp, value)) return *done;
  const Neighbourhood n(value);
  const RoundedDivision mean(uint32_t(value * value));
  return ApplyByRowBands(bmp, [&](const QImage& source, const TargetRows& out, int first, int end) {
    const int width = source.width();
    const int height = source.height();
    const size_t rowLength = size_t(width) * 3;
    // The row sums of the rows the window covers, by source row, in a ring.
    const int ringSize = value + 1;
    std::vector<uint32_t> ring(rowLength * size_t(ringSize));
    auto rowSums = [&](int row) { return ring.data() + rowLength * size_t(row % ringSize); };
    for (int row = ClampIndex(first - n.before, height); row <= ClampIndex(first + n.after, height); ++row)
      SumRow(SourceRow(source, row), width, n, rowSums(row));
    std::vector<uint32_t> column(rowLength, 0);
    for (int i = first - n.before; i <= first + n.after; ++i) {
      const uint32_t* sums = rowSums(ClampIndex(i, height));
      for (size_t k = 0; k < rowLength; ++k) column[k] += sums[k];
    }
    for (int y = first; y < end; ++y) {
      const QRgb* in = SourceRow(source, y);
      QRgb* to = out[y];
      for (int x = 0; x < width; ++x)
        to[x] = qRgba(int(mean(column[3 * x])), int(mean(column[3 * x + 1])), int(mean(column[3 * x + 2])),
                      qAlpha(in[x]));
      if (y + 1 == end) break;
      const int entering = ClampIndex(y + 1 + n.after, height);
      const int leaving = ClampIndex(y - n.before, height);
      // The leaving row's sums are read before the entering row may take its slot.
      const uint32_t* gone = rowSums(leaving);
      for (size_t k = 0; k < rowLength; ++k) column[k] -= gone[k];
      if (entering > ClampIndex(y + n.after, height)) SumRow(SourceRow(source, entering), width, n, rowSums(entering));
      const uint32_t* added = rowSums(entering);
      for (size_t k = 0; k < rowLength; ++k) column[k] += added[k];
    }
  }, std::max(16, 4 * value));
}
