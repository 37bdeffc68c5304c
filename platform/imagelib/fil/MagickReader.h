#pragma once

// Reading a picture held in memory with one named Magick coder: the bytes never pass
// through a file name, so Magick's "coder:" prefixes and "[...]" suffixes never apply.

#include <cstddef>

#include "fil/MagickInclude.h"
#include "fil/ProgressSpan.h"

enum class MagickFrame { First, Largest };

// Reads (or with ping, only the header of) the picture. Magick's warnings of a damaged
// picture are errors here; other warnings are not. Returns SUCCESS or a result code;
// ERROR_USER_ABORT when the progress callback asked to stop.
int MagickReadBlob(const void* data, std::size_t size, const char* coder, bool ping,
                   MagickFrame frame, Magick::Image& image, ProgressSpan progress = {});
