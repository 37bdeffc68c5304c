#pragma once

#include <QString>

#include "krn/ImageBitmap.h"
#include "library/SaveAsSettings.h"

// The file-type filter of the "Save Your Photo As..." dialog, in the dialog's
// "description|pattern|" form.
QString SaveAsFilter();
// The path with ".jpg" added when its file name has no extension, as the dialog's default.
QString WithDefaultExtension(const QString& path);
// The format from the extension; bits per pixel 24 for JPEG, 8 for GIF, otherwise the
// picture's own; quality factor 2; the picture's palette kept when it has under 5 bits.
SaveAsSettings SaveAsSettingsFor(const QString& path, int ownBitsPerPixel);
// Encodes the picture as the settings say, without a description; the imaging library's
// result.
int SavePictureAs(const SaveAsSettings& settings, const ImageBitmap& picture);
