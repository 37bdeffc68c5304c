#pragma once

// The depth of a PCX file from its header, which Magick's header reading does not report.

#include <cstddef>

// 1, 4, 8, 24 or 32 as the picture will load; 0 when the header is too short or odd.
int PcxHeaderBits(const unsigned char* data, std::size_t size);
