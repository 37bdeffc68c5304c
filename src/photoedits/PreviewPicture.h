#pragma once

#include <QSize>

#include "krn/ltkrn.h"

// The editing dialogs show a picture reduced to at most this many pixels a side, so that
// repainting and dragging a large photo stay quick; results are made from the whole one.
inline constexpr int kPreviewSide = 1280;

// The size of a picture of `size` reduced to kPreviewSide a side, keeping its proportions;
// the size itself when it is smaller.
QSize ReducedPreviewSize(QSize size);
// The picture reduced to kPreviewSide a side; itself when smaller.
ImageBitmap ReducedForPreview(const ImageBitmap& picture);
