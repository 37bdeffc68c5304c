#include "fil/DeclaredSize.h"

#include <cstdint>

#include "fil/FileFormats.h"
#include "fil/HeaderBytes.h"
#include "krn/ResultCodes.h"

namespace {
using Bytes = HeaderBytes;

int Verdict(bool whole) { return whole ? SUCCESS : ERROR_FILE_CORRUPT; }

int CheckBmp(const Bytes& b) {
  const uint64_t offset = b.Le32(10);
  const uint32_t header = b.Le32(14);
  if (header < 40) return SUCCESS;  // OS/2 headers: Magick checks those itself
  const int64_t width = int32_t(b.Le32(18));
  const int64_t height = int32_t(b.Le32(22));
  const uint32_t bits = b.Le16(28);
  const uint32_t compression = b.Le32(30);
  if (compression != 0 && compression != 3) return SUCCESS;  // run-length: size unknown
  if (width <= 0 || bits == 0) return SUCCESS;
  const uint64_t stride = (uint64_t(width) * bits + 31) / 32 * 4;
  const uint64_t rows = uint64_t(height < 0 ? -height : height);
  return Verdict(offset + stride * rows <= b.size());
}

int CheckTga(const Bytes& b) {
  const uint32_t type = b.U8(2);
  if (type != 1 && type != 2 && type != 3) return SUCCESS;  // run-length types
  const uint64_t mapBytes = uint64_t(b.Le16(5)) * ((b.U8(7) + 7) / 8);
  const uint64_t pixels = uint64_t(b.Le16(12)) * b.Le16(14);
  const uint64_t pixelBytes = pixels * ((b.U8(16) + 7) / 8);
  return Verdict(18 + b.U8(0) + mapBytes + pixelBytes <= b.size());
}

int CheckSun(const Bytes& b) {
  constexpr uint32_t kByteEncoded = 2;
  if (b.Be32(20) == kByteEncoded) return SUCCESS;
  const uint64_t stride = (uint64_t(b.Be32(4)) * b.Be32(12) + 15) / 16 * 2;
  return Verdict(32 + uint64_t(b.Be32(28)) + stride * b.Be32(8) <= b.size());
}

// Header, colour data, resources, layers, then the merged picture at the end.
int CheckPsd(const Bytes& b) {
  const bool big = b.Be16(4) == 2;
  const uint64_t channels = b.Be16(12);
  const uint64_t height = b.Be32(14);
  const uint64_t width = b.Be32(18);
  const uint64_t depth = b.Be16(22);
  uint64_t at = 26;
  at += 4 + uint64_t(b.Be32(at));
  if (!b.Has(at, 4)) return ERROR_FILE_CORRUPT;
  at += 4 + uint64_t(b.Be32(at));
  if (big) {
    if (!b.Has(at, 8)) return ERROR_FILE_CORRUPT;
    at += 8 + (uint64_t(b.Be32(at)) << 32 | b.Be32(at + 4));
  } else {
    if (!b.Has(at, 4)) return ERROR_FILE_CORRUPT;
    at += 4 + uint64_t(b.Be32(at));
  }
  if (!b.Has(at, 2)) return ERROR_FILE_CORRUPT;
  const uint32_t compression = b.Be16(at);
  at += 2;
  if (compression == 0)
    return Verdict(at + channels * height * ((width * depth + 7) / 8) <= b.size());
  if (compression != 1) return SUCCESS;
  // Run-length: a byte count for every row of every channel, then the rows.
  const uint64_t rows = channels * height;
  const uint64_t countBytes = big ? 4 : 2;
  if (!b.Has(at, rows * countBytes)) return ERROR_FILE_CORRUPT;
  uint64_t data = 0;
  for (uint64_t row = 0; row < rows; ++row)
    data += big ? b.Be32(at + row * 4) : b.Be16(at + row * 2);
  return Verdict(at + rows * countBytes + data <= b.size());
}

// 720 rows of 72 bytes packed with PackBits (runs may cross rows), after a 512-byte
// header and perhaps a 128-byte MacBinary one before it.
int CheckMacPaint(const Bytes& b) {
  constexpr uint64_t kUnpacked = 720 * 72;
  const bool macBinary = b.U8(0) == 0 && b.U8(1) >= 1 && b.U8(1) <= 63 && b.Has(65, 4) &&
                         b.U8(65) == 'P' && b.U8(66) == 'N' && b.U8(67) == 'T' && b.U8(68) == 'G';
  uint64_t at = macBinary ? 640 : 512;
  uint64_t done = 0;
  while (done < kUnpacked) {
    if (at >= b.size()) return ERROR_FILE_CORRUPT;
    const int code = int8_t(b.U8(std::size_t(at++)));
    if (code >= 0) {
      done += uint64_t(code) + 1;
      at += uint64_t(code) + 1;
    } else if (code != -128) {
      done += uint64_t(1 - code);
      at += 1;
    }
    if (at > b.size()) return ERROR_FILE_CORRUPT;
  }
  return SUCCESS;
}

// WordPerfect 1: records of a type byte and a length, the last one of type 16.
int CheckWpg(const Bytes& b) {
  constexpr uint32_t kEnd = 0x10;
  if (b.U8(10) != 1) return SUCCESS;  // WPG 2 records are Magick's to check
  std::size_t at = b.Le32(4);
  while (b.Has(at, 2)) {
    const uint32_t type = b.U8(at++);
    uint64_t length = b.U8(at++);
    if (length == 0xFF) {
      length = b.Le16(at);
      at += 2;
      if (length & 0x8000) {
        length = (length & 0x7FFF) << 16 | b.Le16(at);
        at += 2;
      }
    }
    if (at + length > b.size()) return ERROR_FILE_CORRUPT;
    if (type == kEnd) return SUCCESS;
    at += std::size_t(length);
  }
  return ERROR_FILE_CORRUPT;
}

// A metafile's records, each with its size in words, end with the record of function 0.
// Checked here as libwmf reports a short file only on the terminal.
int CheckWmf(const Bytes& b) {
  constexpr uint32_t kPlaceableKey = 0x9AC6CDD7;
  constexpr uint64_t kHeaderBytes = 18;
  uint64_t at = b.Le32(0) == kPlaceableKey ? 22 : 0;
  if (!b.Has(std::size_t(at), std::size_t(kHeaderBytes))) return ERROR_FILE_CORRUPT;
  at += uint64_t(b.Le16(std::size_t(at) + 2)) * 2;
  while (b.Has(std::size_t(at), 6)) {
    const uint64_t words = b.Le32(std::size_t(at));
    const uint32_t function = b.Le16(std::size_t(at) + 4);
    if (words < 3 || at + words * 2 > b.size()) return ERROR_FILE_CORRUPT;
    if (function == 0) return SUCCESS;
    at += words * 2;
  }
  return ERROR_FILE_CORRUPT;
}

int CheckIcon(const Bytes& b) {
  const uint32_t count = b.Le16(4);
  for (uint32_t i = 0; i < count; ++i) {
    const std::size_t entry = 6 + 16 * std::size_t(i);
    if (!b.Has(entry, 16)) return ERROR_FILE_CORRUPT;
    if (uint64_t(b.Le32(entry + 12)) + b.Le32(entry + 8) > b.size()) return ERROR_FILE_CORRUPT;
  }
  return SUCCESS;
}
}  // namespace

int CheckDeclaredSize(int format, const unsigned char* data, std::size_t size) {
  const Bytes bytes(data, size);
  switch (format) {
    case FILE_BMP:
      return CheckBmp(bytes);
    case FILE_TGA:
      return CheckTga(bytes);
    case FILE_RAS:
      return CheckSun(bytes);
    case FILE_PSD:
      return CheckPsd(bytes);
    case FILE_MAC:
      return CheckMacPaint(bytes);
    case FILE_WPG:
      return CheckWpg(bytes);
    case FILE_WMF:
      return CheckWmf(bytes);
    case FILE_ICO:
    case FILE_CUR:
      return CheckIcon(bytes);
    default:
      return SUCCESS;
  }
}
