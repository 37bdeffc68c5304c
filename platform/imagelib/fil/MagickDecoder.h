#pragma once

// Decoding whole files and reading headers through Magick, for every format whose
// reader is Magick.

#include "fil/FileBuffer.h"
#include "fil/FormatTable.h"
#include "fil/ltfil.h"

// Decodes the file's content, upright (EXIF and TIFF orientation applied). A picture the
// header declares too large for its data or the library's limits is refused first
// (CheckDeclaredPicture), before Magick sets anything aside for it.
int MagickDecodePicture(const FileBuffer& content, const FormatTraits& traits, ImageBitmap& bmp);
// Size (upright) and depth from the header alone; icons, small by rule, are decoded so
// their depth agrees with what loading gives. Leaves Format and SizeDisk to the caller.
// Refuses what decoding would refuse before decoding; then info holds the declared size.
int MagickReadPictureInfo(const FileBuffer& content, const FormatTraits& traits, FileInfo& info);
