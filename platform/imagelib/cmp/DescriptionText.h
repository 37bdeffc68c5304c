#pragma once

#include <cstddef>

#include <QString>

// The longest description kept whole, in characters (code points, not bytes).
constexpr int kMaxDescriptionCharacters = 255;

// Text stored in a file's metadata: trailing NULs dropped (Exiv2 appends one to comments
// it rewrites), UTF-8 when the bytes are valid UTF-8, else Latin-1 as older cameras wrote.
QString DescriptionFromBytes(const char* data, std::size_t size);
// A description as it will be written: NULs removed (no container can keep them) and cut
// after kMaxDescriptionCharacters characters, never inside a surrogate pair.
QString DescriptionToWrite(const QString& text);
// Whether stored text says nothing (empty or only spaces, as some cameras pad the field).
bool IsBlankDescription(const QString& text);
