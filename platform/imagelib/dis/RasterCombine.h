#pragma once

#include <QImage>
#include <QPoint>

#include "dis/PaintLayer.h"
#include "dis/ltdis.h"

// Puts a layer onto canvas (RGB32, its top-left pixel at device pixel origin): Copy lays the
// picture over what is there, honouring its transparency; And and Or combine the picture's
// colour with what is there bit by bit. Pixels outside the layer's mask stay as they are.
void CombineInto(QImage& canvas, QPoint origin, const PaintLayer& layer, RasterOp op);

// pixels (32-bit, area-sized) ready to be drawn over a device: transparent outside the
// mask, so that drawing changes only the pixels the layer paints.
QImage MaskedForDrawing(const QImage& pixels, const QImage& mask);
