#include "HoleCutter.h"

#include <algorithm>
#include <vector>

namespace {
QRgb Straight(const QRgba64& p) {
  const quint32 a = p.alpha();
  if (a == 0) return qRgb(0, 0, 0);
  auto channel = [a](quint32 c) { return int(std::min<quint32>(255, (c * 255 + a / 2) / a)); };
  return qRgb(channel(p.red()), channel(p.green()), channel(p.blue()));
}
}  // namespace

Cutout CutHole(const QImage& premultiplied, HoleEdge edge) {
  const int w = premultiplied.width(), h = premultiplied.height();
  Cutout out;
  out.colour = QImage(w, h, QImage::Format_RGB32);
  out.hole = QImage(w, h, QImage::Format_Grayscale8);
  out.hole.fill(0);
  // Error of the cover carried to the next row, Floyd-Steinberg style.
  std::vector<float> carry(size_t(w) + 2, 0.0f), next(size_t(w) + 2, 0.0f);
  for (int y = 0; y < h; ++y) {
    const auto* src = reinterpret_cast<const QRgba64*>(premultiplied.constScanLine(y));
    auto* colour = reinterpret_cast<QRgb*>(out.colour.scanLine(y));
    uchar* hole = out.hole.scanLine(y);
    std::fill(next.begin(), next.end(), 0.0f);
    // Serpentine order keeps the scattered pixels from lining up diagonally.
    const bool leftToRight = (y % 2) == 0;
    for (int i = 0; i < w; ++i) {
      const int x = leftToRight ? i : w - 1 - i;
      const float cover = src[x].alpha() / 65535.0f;
      bool isHole;
      if (edge == HoleEdge::Soft) {
        const float wanted = cover + carry[size_t(x) + 1];
        isHole = wanted < 0.5f;
        const float error = wanted - (isHole ? 0.0f : 1.0f);
        const int ahead = leftToRight ? 1 : -1;
        carry[size_t(x + ahead) + 1] += error * 7.0f / 16.0f;
        next[size_t(x - ahead) + 1] += error * 3.0f / 16.0f;
        next[size_t(x) + 1] += error * 5.0f / 16.0f;
        next[size_t(x + ahead) + 1] += error * 1.0f / 16.0f;
      } else {
        isHole = edge == HoleEdge::Hard && cover < 0.5f;
      }
      if (isHole) {
        hole[x] = 255;
        colour[x] = qRgb(0, 0, 0);
      } else {
        colour[x] = Straight(src[x]);
      }
    }
    std::swap(carry, next);
  }
  return out;
}

QImage Flatten(const QImage& premultiplied, const QColor& matte, const QColor* key) {
  const int w = premultiplied.width(), h = premultiplied.height();
  QImage out(w, h, QImage::Format_RGB32);
  const float mr = float(matte.red()), mg = float(matte.green()), mb = float(matte.blue());
  for (int y = 0; y < h; ++y) {
    const auto* src = reinterpret_cast<const QRgba64*>(premultiplied.constScanLine(y));
    auto* dst = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < w; ++x) {
      const float a = src[x].alpha() / 65535.0f;
      if (key && a < 0.5f) {
        dst[x] = key->rgb();
        continue;
      }
      auto over = [a](quint16 c, float m) { return int(c / 257.0f + m * (1.0f - a) + 0.5f); };
      dst[x] = qRgb(std::min(255, over(src[x].red(), mr)), std::min(255, over(src[x].green(), mg)),
                    std::min(255, over(src[x].blue(), mb)));
    }
  }
  return out;
}
