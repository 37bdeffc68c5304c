#include "img/EffectSupport.h"
#include "img/Neighbourhood.h"
#include "img/ltimg.h"

namespace {
// The neighbour toward the light, by direction: north first, then clockwise.
constexpr int kStepX[8] = {0, 1, 1, 1, 0, -1, -1, -1};
constexpr int kStepY[8] = {-1, -1, 0, 1, 1, 1, 0, -1};

inline int Brightness(QRgb p) { return (qRed(p) * 77 + qGreen(p) * 150 + qBlue(p) * 29) >> 8; }
}  // namespace

int ApplyEmboss(ImageBitmap& bmp, int value, int option) {
  if (value < 0 || value > 1000 || option < 0 || option > 7) return ERROR_INV_PARAMETER;
  const int dx = kStepX[option], dy = kStepY[option];
  return ApplyByRowBands(bmp, [&](const QImage& source, const TargetRows& out, int first, int end) {
    const int width = source.width();
    const int height = source.height();
    for (int y = first; y < end; ++y) {
      const QRgb* lit = SourceRow(source, ClampIndex(y + dy, height));
      const QRgb* shaded = SourceRow(source, ClampIndex(y - dy, height));
      const QRgb* in = SourceRow(source, y);
      QRgb* to = out[y];
      for (int x = 0; x < width; ++x) {
        // Slopes facing the light come out bright, those facing away dark, flat parts grey.
        const int slope = Brightness(lit[ClampIndex(x + dx, width)]) - Brightness(shaded[ClampIndex(x - dx, width)]);
        const int grey = ClampComponent(128 + (slope * value + (slope >= 0 ? 250 : -250)) / 500);
        to[x] = qRgba(grey, grey, grey, qAlpha(in[x]));
      }
    }
  });
}
