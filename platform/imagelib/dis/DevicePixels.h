#pragma once

#include <QImage>
#include <QPainter>
#include <QRect>

// Reading back what a painter's device shows, for raster operations that combine with it.
// Devices whose pixels are in memory can be read: a QImage, a pixmap, a widget's backing
// store on a raster platform. Printers, PDF writers and pictures cannot.
bool CanReadDevicePixels(QPainter& painter);
// What the device shows in area (device pixels, with the painter's world transform reset),
// as RGB32; a null image when the device cannot be read.
QImage ReadDevicePixels(QPainter& painter, const QRect& area);
