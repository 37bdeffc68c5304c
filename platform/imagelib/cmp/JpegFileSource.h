#pragma once

#include <cstddef>

// jpeglib.h needs FILE declared before it.
#include <cstdio>
#include <jpeglib.h>

// Feeds libjpeg from an open file descriptor in chunks of bufferSize bytes, so reading
// the header of a large photo touches only its first block. A read error fails with
// ERROR_FILE_READ; the end of the file before the image's end is a JWRN_JPEG_EOF
// warning, which our error manager turns into ERROR_FILE_CORRUPT. Must be called
// inside the session's setjmp frame (it allocates from libjpeg's pool).
void UseJpegFileSource(j_decompress_ptr cinfo, int fd, std::size_t bufferSize);
