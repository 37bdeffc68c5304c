#pragma once

#include "krn/ltkrn.h"

// The editing dialogs show a picture reduced to at most this many pixels a side, so that
// repainting and dragging a large photo stay quick; results are made from the whole one.
inline constexpr int kPreviewSide = 1280;

// The picture reduced to kPreviewSide a side, keeping its proportions; itself when smaller.
ImageBitmap ReducedForPreview(const ImageBitmap& picture);
