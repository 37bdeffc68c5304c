#include "img/EffectSupport.h"
#include "img/Neighbourhood.h"
#include "img/ltimg.h"

int ApplySharpen(ImageBitmap& bmp, int value, int) {
  if (value < -1000 || value > 1000) return ERROR_INV_PARAMETER;
  if (!bmp.hasPixels()) return ERROR_NO_BITMAP;
  if (value == 0) return ReportProgress(100) ? SUCCESS : ERROR_USER_ABORT;
  // The difference from the 3 x 3 mean, as nine times itself: sharpening adds value / 100
  // of it; softening takes -value / 1000 of the way to the mean.
  const int numerator = value;
  const int denominator = value > 0 ? 900 : 9000;

  return ApplyByRowBands(bmp, [&](const QImage& source, const TargetRows& out, int first, int end) {
    const int width = source.width();
    const int height = source.height();
    for (int y = first; y < end; ++y) {
      const QRgb* rows[3] = {SourceRow(source, ClampIndex(y - 1, height)), SourceRow(source, y),
                             SourceRow(source, ClampIndex(y + 1, height))};
      QRgb* to = out[y];
      for (int x = 0; x < width; ++x) {
        const int left = ClampIndex(x - 1, width), right = ClampIndex(x + 1, width);
        int sum[3] = {0, 0, 0};
        for (const QRgb* row : rows)
          for (int column : {left, x, right}) {
            sum[0] += qRed(row[column]);
            sum[1] += qGreen(row[column]);
            sum[2] += qBlue(row[column]);
          }
        const QRgb centre = rows[1][x];
        const int own[3] = {qRed(centre), qGreen(centre), qBlue(centre)};
        int result[3];
        for (int c = 0; c < 3; ++c) {
          const int difference = (9 * own[c] - sum[c]) * numerator;
          // Rounded half away from zero, the same either way.
          const int change = difference >= 0 ? (difference + denominator / 2) / denominator
                                              : -((-difference + denominator / 2) / denominator);
          result[c] = ClampComponent(own[c] + change);
        }
        to[x] = qRgba(result[0], result[1], result[2], qAlpha(centre));
      }
    }
  });
}
