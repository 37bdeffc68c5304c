#include "cmp/ExifSegment.h"

#include <cstring>

namespace {
constexpr char kExifHeader[] = {'E', 'x', 'i', 'f', 0, 0};
constexpr std::size_t kExifHeaderSize = sizeof(kExifHeader);
constexpr std::uint16_t kTagImageDescription = 0x010E;
constexpr std::uint16_t kTagOrientation = 0x0112;
constexpr std::uint16_t kTypeAscii = 2;
constexpr std::uint16_t kTypeShort = 3;
constexpr std::size_t kEntrySize = 12;

// A TIFF structure in memory; all reads are bounds-checked and fail softly.
class TiffView {
 public:
  TiffView(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  bool readByteOrder() {
    if (size_ < 8) return false;
    if (data_[0] == 'I' && data_[1] == 'I') {
      bigEndian_ = false;
    } else if (data_[0] == 'M' && data_[1] == 'M') {
      bigEndian_ = true;
    } else {
      return false;
    }
    std::uint16_t magic = 0;
    return u16(2, magic) && magic == 42;
  }

  bool fits(std::uint64_t offset, std::uint64_t length) const {
    return offset <= size_ && length <= size_ - offset;
  }

  bool u16(std::uint64_t offset, std::uint16_t& value) const {
    if (!fits(offset, 2)) return false;
    const std::uint8_t* p = data_ + offset;
    value = bigEndian_ ? std::uint16_t(p[0] << 8 | p[1]) : std::uint16_t(p[1] << 8 | p[0]);
    return true;
  }

  bool u32(std::uint64_t offset, std::uint32_t& value) const {
    if (!fits(offset, 4)) return false;
    const std::uint8_t* p = data_ + offset;
    value = bigEndian_ ? std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 |
                             std::uint32_t(p[2]) << 8 | p[3]
                       : std::uint32_t(p[3]) << 24 | std::uint32_t(p[2]) << 16 |
                             std::uint32_t(p[1]) << 8 | p[0];
    return true;
  }

  const std::uint8_t* at(std::uint64_t offset) const { return data_ + offset; }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  bool bigEndian_ = false;
};

void ReadOrientation(const TiffView& tiff, std::uint64_t entry, ExifFields& fields) {
  std::uint16_t type = 0, value = 0;
  std::uint32_t count = 0;
  if (!tiff.u16(entry + 2, type) || !tiff.u32(entry + 4, count) || type != kTypeShort ||
      count < 1 || !tiff.u16(entry + 8, value))
    return;
  if (value >= 1 && value <= 8) fields.Orientation = value;
}

void ReadDescription(const TiffView& tiff, std::uint64_t entry, ExifFields& fields) {
  std::uint16_t type = 0;
  std::uint32_t count = 0;
  if (!tiff.u16(entry + 2, type) || !tiff.u32(entry + 4, count)) return;
  // Some writers label UTF-8 text as UNDEFINED (7) or BYTE (1); the bytes read the same.
  if (type != kTypeAscii && type != 1 && type != 7) return;
  std::uint64_t valueOffset = entry + 8;
  if (count > 4) {
    std::uint32_t offset = 0;
    if (!tiff.u32(entry + 8, offset)) return;
    valueOffset = offset;
  }
  if (!tiff.fits(valueOffset, count)) return;
  const char* text = reinterpret_cast<const char*>(tiff.at(valueOffset));
  const std::size_t length = strnlen(text, count);
  fields.Description = QByteArray(text, qsizetype(length));
}

void PutU16(QByteArray& out, std::uint16_t v) {
  out.append(char(v & 0xFF));
  out.append(char(v >> 8));
}

void PutU32(QByteArray& out, std::uint32_t v) {
  PutU16(out, std::uint16_t(v & 0xFFFF));
  PutU16(out, std::uint16_t(v >> 16));
}
}  // namespace

bool IsExifSegment(const std::uint8_t* data, std::size_t size) {
  return size >= kExifHeaderSize && std::memcmp(data, kExifHeader, 4) == 0 && data[4] == 0;
}

bool ParseExifSegment(const std::uint8_t* data, std::size_t size, ExifFields& fields) {
  if (!IsExifSegment(data, size)) return false;
  TiffView tiff(data + kExifHeaderSize, size - kExifHeaderSize);
  std::uint32_t ifd = 0;
  std::uint16_t entries = 0;
  if (!tiff.readByteOrder() || !tiff.u32(4, ifd) || !tiff.u16(ifd, entries)) return false;
  for (std::uint32_t i = 0; i < entries; ++i) {
    const std::uint64_t entry = std::uint64_t(ifd) + 2 + std::uint64_t(i) * kEntrySize;
    std::uint16_t tag = 0;
    if (!tiff.fits(entry, kEntrySize) || !tiff.u16(entry, tag)) break;
    if (tag == kTagOrientation) ReadOrientation(tiff, entry, fields);
    if (tag == kTagImageDescription) ReadDescription(tiff, entry, fields);
  }
  return true;
}

QByteArray BuildExifSegment(const QByteArray& description, int xDotsPerInch, int yDotsPerInch) {
  // Little-endian TIFF: header, then IFD0 with the tags EXIF requires of a JPEG's IFD0
  // (in tag order), then the values too long to sit in their entries.
  constexpr std::uint16_t kTagXResolution = 0x011A, kTagYResolution = 0x011B,
                          kTagResolutionUnit = 0x0128, kTagYCbCrPositioning = 0x0213;
  constexpr std::uint16_t kTypeRational = 5;
  constexpr std::uint16_t kEntries = 5;
  const std::uint32_t ifdOffset = 8;
  const std::uint32_t dataOffset = ifdOffset + 2 + kEntries * kEntrySize + 4;
  const std::uint32_t textCount = std::uint32_t(description.size()) + 1;
  const bool textInline = textCount <= 4;
  // Values start on even offsets, as TIFF asks: the rationals first, then the text.
  const std::uint32_t xOffset = dataOffset;
  const std::uint32_t yOffset = xOffset + 8;
  const std::uint32_t textOffset = yOffset + 8;

  QByteArray out(kExifHeader, kExifHeaderSize);
  out.append("II", 2);
  PutU16(out, 42);
  PutU32(out, ifdOffset);
  PutU16(out, kEntries);
  auto entry = [&out](std::uint16_t tag, std::uint16_t type, std::uint32_t count) {
    PutU16(out, tag);
    PutU16(out, type);
    PutU32(out, count);
  };
  entry(kTagImageDescription, kTypeAscii, textCount);
  if (textInline) {
    // Values of up to four bytes sit in the entry itself, padded with NULs.
    out.append(description);
    for (std::uint32_t i = std::uint32_t(description.size()); i < 4; ++i) out.append('\0');
  } else {
    PutU32(out, textOffset);
  }
  entry(kTagXResolution, kTypeRational, 1);
  PutU32(out, xOffset);
  entry(kTagYResolution, kTypeRational, 1);
  PutU32(out, yOffset);
  entry(kTagResolutionUnit, kTypeShort, 1);
  PutU32(out, 2);  // inches
  entry(kTagYCbCrPositioning, kTypeShort, 1);
  PutU32(out, 1);  // centred
  PutU32(out, 0);  // no IFD1
  for (int dpi : {xDotsPerInch, yDotsPerInch}) {
    PutU32(out, std::uint32_t(dpi > 0 ? dpi : 72));
    PutU32(out, 1);
  }
  if (!textInline) {
    out.append(description);
    out.append('\0');
  }
  return out;
}
