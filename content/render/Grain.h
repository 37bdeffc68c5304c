#pragma once

#include <QImage>

// Adds a fixed texture to the artwork: every pixel's brightness moves by up to amount
// levels. The noise comes from the pixel's position alone, so every build gives the same
// bytes. With streak the noise runs in long horizontal strokes, as on brushed metal.
// Pixels marked in hole (when given) are left alone.
void AddGrain(QImage& rgb32, const QImage& hole, int amount, bool streak);
