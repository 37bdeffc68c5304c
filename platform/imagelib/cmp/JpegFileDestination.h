#pragma once

#include <cstddef>

// jpeglib.h needs FILE declared before it.
#include <cstdio>
#include <jpeglib.h>

// Sends libjpeg's output to an open file descriptor; a failed or short write fails the
// session with ERROR_FILE_WRITE. Must be called inside the session's setjmp frame.
void UseJpegFileDestination(j_compress_ptr cinfo, int fd, std::size_t bufferSize);
