#pragma once

// Telling a picture's format from its first bytes.

#include <QString>
#include <cstddef>

// How much of a file's start DetectFormat wants to see.
constexpr std::size_t kDetectHeadBytes = 1024;

// The format code for a file from its first bytes. The extension decides only among
// formats that have no signature (TGA, PICT, MacPaint, GEM Image ...), and only when the
// bytes look like that format's header. FILE_UNKNOWN when nothing fits.
int DetectFormat(const unsigned char* head, std::size_t size, qint64 fileSize,
                 const QString& extension);
