#pragma once

// The description (comment type 3) in files through Exiv2: written as EXIF
// ImageDescription, XMP dc:description and, where the format has one, a comment.

#include <QString>
#include <cstddef>

// Whether Exiv2 can write metadata into files of this format code.
bool ExivCanWriteDescription(int format);
// Writes the description (its first 255 characters) into an existing file (the caller's
// temporary file).
int ExivWriteDescription(const QString& file, const QString& description);
// The first found of EXIF ImageDescription, XMP dc:description and the comment;
// ERROR_NO_COMMENT when none is there or Exiv2 does not know the file. Reads from memory,
// so a file changed meanwhile by another program cannot fault a mapping.
int ExivReadDescription(const unsigned char* data, std::size_t size, QString& description);
