#pragma once

// Whether a file holds all the data its header declares, for formats whose coders here
// do not notice a file cut short (or would believe a header that lies about its size).

#include <cstddef>

// ERROR_FILE_CORRUPT when the header asks for more data than the file has; SUCCESS
// when it does not or the format's size cannot be told without decoding.
int CheckDeclaredSize(int format, const unsigned char* data, std::size_t size);
