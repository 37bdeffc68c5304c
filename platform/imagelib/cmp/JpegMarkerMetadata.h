#pragma once

#include <optional>

#include <QString>
// jpeglib.h needs FILE declared before it.
#include <cstdio>
#include <jpeglib.h>

// What the codec reads from the markers libjpeg saved before the first scan.
struct JpegMarkerMetadata {
  int Orientation = 1;                 // EXIF orientation, 1 when absent or invalid
  std::optional<QString> Description;  // none when no marker holds one
};

// Orientation from the EXIF APP1 segment; with wantDescription also the description from
// the first found of EXIF ImageDescription, XMP dc:description and the JPEG comment
// (blank entries do not count, so an empty EXIF field does not hide the XMP text).
JpegMarkerMetadata ReadJpegMarkerMetadata(jpeg_saved_marker_ptr markers, bool wantDescription);
