#pragma once

#include <QImage>

// Turns a true-colour picture into a palette picture for GIF files.
//
// When the picture has a hole, palette entry 0 is pure black and is given to the hole's
// pixels only; every other entry is kept at least `inkFloor` bright in one channel, so no
// artwork pixel can come out pure black, however the colours are averaged or dithered.
// Pictures with few colours keep them exactly; others get a median-cut palette and
// Floyd-Steinberg dithering. The result depends on the pixels alone (no hash order, no
// clock), so the same picture always gives the same palette and indices.
class PaletteQuantizer {
 public:
  PaletteQuantizer(int maxColours, int inkFloor) : m_maxColours(maxColours), m_inkFloor(inkFloor) {}

  // rgb32: the colours; hole: Grayscale8 with 255 for the hole, or a null image.
  QImage quantize(const QImage& rgb32, const QImage& hole) const;

 private:
  QRgb lifted(QRgb c) const;

  int m_maxColours;
  int m_inkFloor;
};
