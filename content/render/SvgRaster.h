#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>

// Renders SVG sources side by side, each into a cell of the given size, on a transparent
// canvas with 16 bits a channel, so that the straight colours of faint edge pixels
// survive for the later cut into hole and artwork. Returns a null image and sets error
// when a source cannot be read.
QImage RenderSvgStrip(const QStringList& sources, QSize cell, QString& error);
