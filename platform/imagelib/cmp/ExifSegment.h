#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include <QByteArray>

// The few EXIF fields the codec uses, read from and written to a JPEG APP1 segment
// ("Exif\0\0" followed by a TIFF structure).
struct ExifFields {
  int Orientation = 1;                   // 1..8; 1 when absent or out of range
  std::optional<QByteArray> Description;  // IFD0 ImageDescription, raw bytes without the NUL
};

// Whether an APP1 payload is an EXIF segment.
bool IsExifSegment(const std::uint8_t* data, std::size_t size);
// Reads IFD0 of an EXIF APP1 payload. Every offset is checked against `size`, in either
// byte order; a damaged structure yields what could be read (false when nothing could).
bool ParseExifSegment(const std::uint8_t* data, std::size_t size, ExifFields& fields);
// An APP1 payload whose IFD0 holds ImageDescription (the UTF-8 bytes, NUL added) and
// the resolution tags EXIF requires (72 dpi where a resolution is not known).
QByteArray BuildExifSegment(const QByteArray& description, int xDotsPerInch, int yDotsPerInch);
