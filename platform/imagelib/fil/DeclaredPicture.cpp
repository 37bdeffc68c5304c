#include "fil/DeclaredPicture.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "fil/FileFormats.h"
#include "fil/HeaderBytes.h"
#include "krn/PictureLimits.h"
#include "krn/ResultCodes.h"

namespace {
// Sizes from a header can be anything: the arithmetic sticks at the top instead of wrapping.
uint64_t Mul(uint64_t a, uint64_t b) {
  uint64_t product = 0;
  return __builtin_mul_overflow(a, b, &product) ? UINT64_MAX : product;
}
uint64_t Add(uint64_t a, uint64_t b) {
  uint64_t sum = 0;
  return __builtin_add_overflow(a, b, &sum) ? UINT64_MAX : sum;
}

uint64_t RowBytes(uint64_t width, uint64_t bits) { return Add(Mul(width, bits), 7) / 8; }

uint64_t Remaining(const HeaderBytes& b, uint64_t from) {
  return from < b.size() ? b.size() - from : 0;
}

bool Tag(const HeaderBytes& b, uint64_t at, const char* tag) {
  return b.Has(at, 4) && std::memcmp(b.data() + at, tag, 4) == 0;
}

// Deflate at its best: a match of 258 bytes for two bits, after a few bytes of setup
// for each stream.
uint64_t MostInflated(uint64_t bytes, uint64_t streams) {
  return Add(Mul(bytes, 1032), Mul(streams, 258));
}

DeclaredPicture Declared(uint64_t width, uint64_t height, uint64_t dataBytes, bool tooShort) {
  DeclaredPicture picture;
  picture.Known = width > 0 && height > 0;
  picture.Width = qint64(std::min<uint64_t>(width, INT64_MAX));
  picture.Height = qint64(std::min<uint64_t>(height, INT64_MAX));
  picture.DataBytes = qint64(std::min<uint64_t>(dataBytes, INT64_MAX));
  picture.DataTooShort = tooShort;
  return picture;
}

// Chunks after the signature; only the IDAT chunks hold the compressed rows, each row
// led by its filter byte (interlaced pictures have a few more rows than that).
DeclaredPicture Png(const HeaderBytes& b) {
  if (b.Be32(8) != 13 || !Tag(b, 12, "IHDR")) return {};
  const uint64_t width = b.Be32(16);
  const uint64_t height = b.Be32(20);
  const uint32_t depth = b.U8(24);
  uint32_t channels = 0;
  switch (b.U8(25)) {
    case 0:
    case 3:
      channels = 1;
      break;
    case 2:
      channels = 3;
      break;
    case 4:
      channels = 2;
      break;
    case 6:
      channels = 4;
      break;
    default:
      return {};
  }
  uint64_t compressed = 0;
  for (uint64_t at = 8; b.Has(at, 8); at = Add(at, Add(b.Be32(at), 12))) {
    if (Tag(b, at + 4, "IDAT"))
      compressed = Add(compressed, std::min<uint64_t>(b.Be32(at), Remaining(b, at + 8)));
    if (Tag(b, at + 4, "IEND")) break;
  }
  const uint64_t bits = uint64_t(channels) * depth;
  const uint64_t raw = b.U8(28) != 0 ? Add(Mul(Mul(width, height), bits), 7) / 8
                                     : Mul(height, Add(RowBytes(width, bits), 1));
  return Declared(width, height, compressed, raw > MostInflated(compressed, 1));
}

uint64_t SkipSubBlocks(const HeaderBytes& b, uint64_t at, uint64_t* bytes) {
  while (b.Has(at, 1)) {
    const uint32_t length = b.U8(at);
    if (bytes != nullptr) *bytes = Add(*bytes, std::min<uint64_t>(length, Remaining(b, at + 1)));
    at += 1 + length;
    if (length == 0) break;
  }
  return at;
}

uint64_t ColourTableBytes(uint32_t flags) { return flags & 0x80 ? 3u << ((flags & 7) + 1) : 0; }

// The first image after the screen descriptor and any extensions: what Magick reads.
DeclaredPicture Gif(const HeaderBytes& b) {
  uint64_t at = 13 + ColourTableBytes(b.U8(10));
  while (b.Has(at, 1)) {
    const uint32_t block = b.U8(at);
    if (block == 0x21) {
      at = SkipSubBlocks(b, at + 2, nullptr);
      continue;
    }
    if (block != 0x2C || !b.Has(at, 10)) return {};
    const uint64_t width = b.Le16(at + 5);
    const uint64_t height = b.Le16(at + 7);
    at += 10 + ColourTableBytes(b.U8(at + 9));
    uint64_t coded = 0;
    SkipSubBlocks(b, at + 1, &coded);  // after the byte of the first code size
    // Every code takes three bits at least and stands for at most 4096 pixels, the
    // longest string a table of 4096 entries holds.
    const uint64_t most = Mul(4096, Add(Mul(coded, 8) / 3, 1));
    return Declared(width, height, coded, Mul(width, height) > most);
  }
  return {};
}

DeclaredPicture Bmp(const HeaderBytes& b) {
  const uint32_t header = b.Le32(14);
  uint64_t width = 0, height = 0;
  uint32_t bits = 0, compression = 0;
  if (header == 12) {
    width = b.Le16(18);
    height = b.Le16(20);
    bits = b.Le16(24);
  } else if (header >= 40) {
    const int64_t w = int32_t(b.Le32(18));
    const int64_t h = int32_t(b.Le32(22));
    if (w <= 0) return {};
    width = uint64_t(w);
    height = uint64_t(h < 0 ? -h : h);
    bits = b.Le16(28);
    compression = b.Le32(30);
  } else {
    return {};
  }
  const uint64_t data = Remaining(b, b.Le32(10));
  // Run-length coding may skip pixels with its escapes and end the picture early: it
  // bounds nothing. Plain rows (with or without bit fields) are four-byte aligned. In
  // the 64-byte OS/2 header, 3 means Huffman coding instead of bit fields.
  constexpr uint32_t kOs2Header = 64;
  const bool plain =
      compression == 0 || compression == 6 || (compression == 3 && header != kOs2Header);
  const uint64_t stride = Add(Mul(width, bits), 31) / 32 * 4;
  return Declared(width, height, data, plain && Mul(stride, height) > data);
}

DeclaredPicture Tga(const HeaderBytes& b) {
  if (!b.Has(0, 18)) return {};
  const uint32_t type = b.U8(2);
  const uint64_t width = b.Le16(12);
  const uint64_t height = b.Le16(14);
  const uint64_t pixelBytes = std::max<uint64_t>(1, (b.U8(16) + 7) / 8);
  const uint64_t mapBytes = b.U8(1) != 0 ? uint64_t(b.Le16(5)) * ((b.U8(7) + 7) / 8) : 0;
  const uint64_t data = Remaining(b, 18 + b.U8(0) + mapBytes);
  const uint64_t pixels = Mul(width, height);
  bool tooShort = false;
  if (type >= 1 && type <= 3) tooShort = Mul(pixels, pixelBytes) > data;
  // Run-length packets: a header byte and one pixel stand for 128 pixels at the most.
  if (type >= 9 && type <= 11) tooShort = pixels > Mul(128, Add(data / (1 + pixelBytes), 1));
  return Declared(width, height, data, tooShort);
}

// Magick unpacks every plane of every row, each bytesPerLine long.
DeclaredPicture Pcx(const HeaderBytes& b) {
  if (!b.Has(0, 128)) return {};
  const uint32_t left = b.Le16(4), top = b.Le16(6), right = b.Le16(8), bottom = b.Le16(10);
  if (right < left || bottom < top) return {};
  const uint64_t width = right - left + 1;
  const uint64_t height = bottom - top + 1;
  const uint64_t unpacked = Mul(Mul(height, b.U8(65)), b.Le16(66));
  const uint64_t data = Remaining(b, 128);
  // Run-length: two bytes give 63 at the most.
  const uint64_t most = b.U8(2) == 1 ? Mul(63, Add(data / 2, 1)) : data;
  return Declared(width, height, data, unpacked > most);
}

DeclaredPicture Sun(const HeaderBytes& b) {
  if (!b.Has(0, 32)) return {};
  const uint64_t width = b.Be32(4);
  const uint64_t height = b.Be32(8);
  const uint64_t stride = Add(Mul(width, b.Be32(12)), 15) / 16 * 2;
  const uint64_t data = Remaining(b, Add(32, b.Be32(28)));
  // Byte encoding: three bytes give 256 at the most.
  constexpr uint32_t kByteEncoded = 2;
  const uint64_t most = b.Be32(20) == kByteEncoded ? Mul(256, Add(data / 3, 1)) : data;
  return Declared(width, height, data, Mul(stride, height) > most);
}

// Header, colour data, resources, layers, then the merged picture that Magick reads.
DeclaredPicture Psd(const HeaderBytes& b) {
  const bool big = b.Be16(4) == 2;
  const uint64_t channels = b.Be16(12);
  const uint64_t height = b.Be32(14);
  const uint64_t width = b.Be32(18);
  uint64_t at = 26;
  for (int section = 0; section < 2; ++section) {
    if (!b.Has(at, 4)) return {};
    at = Add(at, Add(4, b.Be32(at)));
  }
  if (!b.Has(at, big ? 8 : 4)) return {};
  at = big ? Add(at, Add(8, uint64_t(b.Be32(at)) << 32 | b.Be32(at + 4)))
           : Add(at, Add(4, b.Be32(at)));
  if (!b.Has(at, 2)) return {};
  const uint32_t compression = b.Be16(at);
  const uint64_t rows = Mul(channels, height);
  const uint64_t unpacked = Mul(rows, RowBytes(width, b.Be16(22)));
  uint64_t data = Remaining(b, at + 2);
  bool tooShort = false;
  switch (compression) {
    case 0:
      tooShort = unpacked > data;
      break;
    case 1: {
      // A table of row sizes, then rows of PackBits: two bytes give 128 at the most.
      const uint64_t table = Mul(rows, big ? 4 : 2);
      data = data > table ? data - table : 0;
      tooShort = unpacked > Mul(64, Add(data, rows));
      break;
    }
    case 2:
    case 3:
      tooShort = unpacked > MostInflated(data, channels);
      break;
    default:
      break;
  }
  return Declared(width, height, data, tooShort);
}

// The first directory of a classic TIFF (BigTIFF is left to Magick).
class TiffDirectory {
 public:
  explicit TiffDirectory(const HeaderBytes& b) : b_(b), big_(b.U8(0) == 'M') {}

  uint32_t u16(uint64_t at) const { return big_ ? b_.Be16(at) : b_.Le16(at); }
  uint32_t u32(uint64_t at) const { return big_ ? b_.Be32(at) : b_.Le32(at); }

  struct Entry {
    uint32_t Type = 0;
    uint64_t Count = 0;
    uint64_t ValuesAt = 0;  // where the values are: in the entry when they fit
    bool Present = false;
  };

  Entry entry(uint64_t at) const {
    Entry e;
    e.Type = u16(at + 2);
    e.Count = u32(at + 4);
    e.ValuesAt = Mul(e.Count, valueBytes(e.Type)) <= 4 ? at + 8 : u32(at + 8);
    e.Present = true;
    return e;
  }
  uint64_t value(const Entry& e, uint64_t index) const {
    const uint64_t at = Add(e.ValuesAt, Mul(index, valueBytes(e.Type)));
    return e.Type == kShort ? u16(at) : u32(at);
  }
  bool hasValue(const Entry& e, uint64_t index) const {
    return b_.Has(Add(e.ValuesAt, Mul(index, valueBytes(e.Type))), valueBytes(e.Type));
  }

  static constexpr uint32_t kShort = 3;

 private:
  static uint64_t valueBytes(uint32_t type) { return type == kShort ? 2 : 4; }

  const HeaderBytes& b_;
  bool big_;
};

DeclaredPicture Tiff(const HeaderBytes& b) {
  const bool little = b.Has(0, 4) && std::memcmp(b.data(), "II*\0", 4) == 0;
  const bool big = b.Has(0, 4) && std::memcmp(b.data(), "MM\0*", 4) == 0;
  if (!little && !big) return {};
  const TiffDirectory in(b);
  const uint64_t directory = in.u32(4);
  const uint64_t entries = in.u16(directory);
  uint64_t width = 0, height = 0, samples = 1, compression = 1, photometric = 0;
  TiffDirectory::Entry depths, counts;
  for (uint64_t i = 0; i < entries; ++i) {
    const uint64_t at = directory + 2 + i * 12;
    if (!b.Has(at, 12)) return {};
    const TiffDirectory::Entry e = in.entry(at);
    switch (in.u16(at)) {
      case 256:
        width = in.value(e, 0);
        break;
      case 257:
        height = in.value(e, 0);
        break;
      case 258:
        depths = e;
        break;
      case 259:
        compression = in.value(e, 0);
        break;
      case 262:
        photometric = in.value(e, 0);
        break;
      case 277:
        samples = in.value(e, 0);
        break;
      case 279:  // strip byte counts
      case 325:  // tile byte counts
        counts = e;
        break;
      default:
        break;
    }
  }
  // libtiff holds the number of samples in 16 bits.
  samples = std::min<uint64_t>(samples, 0xFFFF);
  uint64_t bits = 0;
  for (uint64_t s = 0; s < samples; ++s)
    bits = Add(bits, !depths.Present    ? 1
                     : s < depths.Count ? in.value(depths, s)
                                        : in.value(depths, 0));
  // Without byte counts, or with one of zero, libtiff works them out from the file: all
  // of it may be data.
  uint64_t data = counts.Present ? 0 : b.size();
  for (uint64_t i = 0; counts.Present && i < counts.Count && in.hasValue(counts, i); ++i) {
    const uint64_t count = in.value(counts, i);
    data = count == 0 ? b.size() : Add(data, count);
  }
  data = std::min<uint64_t>(data, b.size());
  const uint64_t chunks = std::max<uint64_t>(counts.Count, 1);
  const uint64_t unpacked = Mul(Mul(width, height), bits) / 8;
  uint64_t most = UINT64_MAX;
  switch (compression) {
    case 1:
      most = data;
      break;
    case 5:  // LZW: codes of nine bits at least, each at most 4096 bytes
      most = Mul(4096, Add(Mul(data, 8) / 9, chunks));
      break;
    case 8:
    case 32946:
      most = MostInflated(data, chunks);
      break;
    case 32773:  // PackBits: two bytes give 128 at the most
      most = Mul(64, Add(data, chunks));
      break;
    default:  // fax and JPEG coding pack flat pictures with no useful bound
      break;
  }
  // Subsampled YCbCr stores fewer samples than pixels times samples per pixel.
  constexpr uint64_t kYCbCr = 6;
  return Declared(width, height, data, photometric != kYCbCr && unpacked > most);
}

// Version 1 stores plain rows. Version 2 has a table of row sizes, then the packed rows:
// an empty row is white; any other must unpack whole, and a run of three bytes gives
// 255 bytes at the most.
DeclaredPicture Msp(const HeaderBytes& b) {
  constexpr uint64_t kHeader = 32;
  if (!b.Has(0, kHeader)) return {};
  const uint64_t width = b.Le16(4);
  const uint64_t height = b.Le16(6);
  const uint64_t rowBytes = (width + 7) / 8;
  const uint64_t data = Remaining(b, kHeader);
  if (std::memcmp(b.data(), "LinS", 4) != 0)
    return Declared(width, height, data, Mul(rowBytes, height) > data);
  bool tooShort = !b.Has(kHeader, 2 * height);
  uint64_t packed = 0;
  for (uint64_t y = 0; y < height && !tooShort; ++y) {
    const uint64_t length = b.Le16(kHeader + 2 * y);
    packed += length;
    tooShort = length > 0 && Mul(255, length / 3 + 1) < rowBytes;
  }
  tooShort = tooShort || packed > Remaining(b, kHeader + 2 * height);
  return Declared(width, height, data, tooShort);
}

// One plane (more are not read here). No item gives more than 255 bytes for each of its
// bytes, so a row takes ceil(rowBytes / 255) bytes at least; a row repeat (four bytes)
// gives the row after it 255 times at the most.
DeclaredPicture GemImg(const HeaderBytes& b) {
  const uint64_t headerBytes = 2 * uint64_t(b.Be16(2));
  if (b.Be16(4) != 1 || headerBytes < 16) return {};
  const uint64_t width = b.Be16(12);
  const uint64_t height = b.Be16(14);
  const uint64_t data = Remaining(b, headerBytes);
  const uint64_t perRow = std::max<uint64_t>(1, ((width + 7) / 8 + 254) / 255);
  const uint64_t mostRows = std::max(Mul(255, Add(data / (4 + perRow), 1)), Add(data / perRow, 1));
  return Declared(width, height, data, height > mostRows);
}

// "rpelcnt: 001728,002200" among the header's records gives the size; fax coding follows.
DeclaredPicture Cals(const HeaderBytes& b) {
  constexpr uint64_t kHeader = 2048;
  constexpr char kKey[] = "rpelcnt:";
  const std::size_t scanned = std::min<std::size_t>(b.size(), kHeader);
  for (std::size_t record = 0; record + sizeof kKey <= scanned; record += 128) {
    if (std::memcmp(b.data() + record, kKey, sizeof kKey - 1) != 0) continue;
    uint64_t size[2] = {0, 0};
    std::size_t at = record + sizeof kKey - 1;
    for (uint64_t& value : size) {
      while (at < scanned && b.U8(at) == ' ') ++at;
      for (int digits = 0; at < scanned && digits < 9 && b.U8(at) >= '0' && b.U8(at) <= '9';
           ++digits)
        value = value * 10 + (b.U8(at++) - '0');
      if (at < scanned && b.U8(at) == ',') ++at;
    }
    return Declared(size[0], size[1], Remaining(b, kHeader), false);
  }
  return {};
}

// Icons hold small bitmaps, or PNG files that may declare any size.
DeclaredPicture Icon(const HeaderBytes& b) {
  static constexpr char kPngSignature[] = "\x89PNG\r\n\x1A\n";
  const uint32_t count = b.Le16(4);
  for (uint32_t i = 0; i < count; ++i) {
    const uint64_t entry = 6 + 16 * uint64_t(i);
    if (!b.Has(entry, 16)) break;
    const uint64_t offset = b.Le32(entry + 12);
    if (!b.Has(offset, 8) || std::memcmp(b.data() + offset, kPngSignature, 8) != 0) continue;
    const HeaderBytes png(b.data() + offset,
                          std::size_t(std::min<uint64_t>(b.Le32(entry + 8), Remaining(b, offset))));
    const DeclaredPicture picture = Png(png);
    if (CheckDeclaredPicture(picture) != SUCCESS) return picture;
  }
  return {};
}
}  // namespace

DeclaredPicture ReadDeclaredPicture(int format, const unsigned char* data, std::size_t size) {
  const HeaderBytes bytes(data, size);
  switch (format) {
    case FILE_PNG:
      return Png(bytes);
    case FILE_GIF:
      return Gif(bytes);
    case FILE_BMP:
      return Bmp(bytes);
    case FILE_TGA:
      return Tga(bytes);
    case FILE_PCX:
      return Pcx(bytes);
    case FILE_RAS:
      return Sun(bytes);
    case FILE_PSD:
      return Psd(bytes);
    case FILE_TIF:
      return Tiff(bytes);
    case FILE_MSP:
      return Msp(bytes);
    case FILE_GEM_IMG:
      return GemImg(bytes);
    case FILE_CALS:
      return Cals(bytes);
    case FILE_ICO:
    case FILE_CUR:
      return Icon(bytes);
    default:
      return {};
  }
}

int CheckDeclaredPicture(const DeclaredPicture& picture) {
  if (!picture.Known) return SUCCESS;
  return CheckPictureSize(picture.Width, picture.Height, picture.DataBytes, picture.DataTooShort);
}
