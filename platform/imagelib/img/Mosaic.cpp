#include <algorithm>
#include <vector>

#include "img/EffectSupport.h"
#include "img/Neighbourhood.h"
#include "img/ltimg.h"

int ApplyMosaic(ImageBitmap& bmp, int value, int) {
  if (const std::optional<int> done = NeighbourhoodShortcut(bmp, value)) return *done;
  const QImage source = EffectSource(bmp);
  QImage target = NewEffectTarget(source);
  if (target.isNull()) return ERROR_NO_MEMORY;
  const TargetRows out(target);
  const int width = source.width();
  const int height = source.height();
  const int tileRows = (height + value - 1) / value;
  const int tileColumns = (width + value - 1) / value;

  const bool finished = ForEachRowBand(tileRows, [&](int firstTile, int endTile) {
    std::vector<uint32_t> sums(size_t(tileColumns) * 3);
    for (int tile = firstTile; tile < endTile; ++tile) {
      const int top = tile * value;
      const int bottom = std::min(height, top + value);
      std::fill(sums.begin(), sums.end(), 0);
      for (int y = top; y < bottom; ++y) {
        const QRgb* in = SourceRow(source, y);
        for (int x = 0; x < width; ++x) {
          uint32_t* sum = &sums[size_t(x / value) * 3];
          sum[0] += qRed(in[x]);
          sum[1] += qGreen(in[x]);
          sum[2] += qBlue(in[x]);
        }
      }
      // Tiles at the right and bottom edges may be smaller: each is the mean of its own pixels.
      std::vector<QRgb> colours(static_cast<size_t>(tileColumns));
      for (int t = 0; t < tileColumns; ++t) {
        const uint32_t count = uint32_t((std::min(width, (t + 1) * value) - t * value) * (bottom - top));
        const RoundedDivision mean(count);
        const uint32_t* sum = &sums[size_t(t) * 3];
        colours[size_t(t)] = qRgb(int(mean(sum[0])), int(mean(sum[1])), int(mean(sum[2])));
      }
      for (int y = top; y < bottom; ++y) {
        const QRgb* in = SourceRow(source, y);
        QRgb* to = out[y];
        for (int x = 0; x < width; ++x) to[x] = (colours[size_t(x / value)] & 0x00ffffffu) | (in[x] & 0xff000000u);
      }
    }
  }, 0, 100, 1);
  if (!finished) return ERROR_USER_ABORT;
  return FinishEffect(bmp, std::move(target));
}
