#pragma once

#include <QMetaType>

#include "krn/ImageBitmap.h"

// A picture list's item may also be a picture its owner keeps (a frame list's thumbnails):
// PictureRole then holds a const ImageBitmap*.
Q_DECLARE_METATYPE(const ImageBitmap*)
