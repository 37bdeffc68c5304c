#pragma once

// Encoding a bitmap through Magick for every format whose writer is Magick.

#include "fil/FormatTable.h"
#include "fil/MagickInclude.h"
#include "krn/ImageBitmap.h"

// Encodes bmp (already at the depth the file gets) into blob with the format's coder.
// ERROR_FORMAT_NO_WRITER when the coder cannot write here.
int MagickEncodePicture(const ImageBitmap& bmp, const FormatTraits& traits, Magick::Blob& blob);
