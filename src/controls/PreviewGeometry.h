#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// Where CPicturePreview draws its picture; plain functions so the layout is tested alone.

// The rectangle of modes 1 and 2: the client area less 4 pixels on every side (empty when
// the client is too small to hold anything).
QRect PreviewTargetRect(QSize client);

// The zoom factor of a zoom level: level x 0.75 above 1, 1 at level 1, 0.75 to the power
// (2 - level) below 1.
double PreviewZoomFactor(int zoomLevel);

// Mode 3: the picture fitted inside the client keeping its proportions, scaled by the zoom
// factor (cut off toward zero), centred on the client centre moved by pan. Not clipped:
// it may reach outside the client. Empty for an empty picture or client.
QRect PreviewZoomRect(QSize picture, QSize client, int zoomLevel, QPoint pan);
