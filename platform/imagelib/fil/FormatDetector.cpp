#include "fil/FormatDetector.h"

#include <cstring>
#include <initializer_list>

#include "fil/FileFormats.h"

namespace {
class Head {
 public:
  Head(const unsigned char* data, std::size_t size) : data_(data), size_(size) {}

  bool Has(std::size_t offset, const char* bytes, std::size_t length) const {
    return offset + length <= size_ && std::memcmp(data_ + offset, bytes, length) == 0;
  }
  bool Starts(const char* text) const { return Has(0, text, std::strlen(text)); }
  int Byte(std::size_t offset) const { return offset < size_ ? data_[offset] : -1; }
  long Le16(std::size_t offset) const {
    return offset + 2 <= size_ ? long(data_[offset] | data_[offset + 1] << 8) : -1;
  }
  long Be16(std::size_t offset) const {
    return offset + 2 <= size_ ? long(data_[offset] << 8 | data_[offset + 1]) : -1;
  }
  long long Le32(std::size_t offset) const {
    if (offset + 4 > size_) return -1;
    return (long long)data_[offset] | (long long)data_[offset + 1] << 8 |
           (long long)data_[offset + 2] << 16 | (long long)data_[offset + 3] << 24;
  }
  std::size_t size() const { return size_; }

 private:
  const unsigned char* data_;
  std::size_t size_;
};

bool OneOf(long value, std::initializer_list<long> values) {
  for (long v : values)
    if (v == value) return true;
  return false;
}

bool IsBmp(const Head& h) {
  return h.Starts("BM") && OneOf(long(h.Le32(14)), {12, 16, 40, 52, 56, 64, 108, 124});
}

bool IsTiff(const Head& h) {
  return h.Has(0, "II*\0", 4) || h.Has(0, "MM\0*", 4) || h.Has(0, "II+\0", 4) ||
         h.Has(0, "MM\0+", 4);
}

bool IsEps(const Head& h) { return h.Starts("%!PS-Adobe") || h.Has(0, "\xC5\xD0\xD3\xC6", 4); }

bool IsWmf(const Head& h) {
  return h.Has(0, "\xD7\xCD\xC6\x9A", 4) || h.Has(0, "\x01\x00\x09\x00\x00\x03", 6) ||
         h.Has(0, "\x02\x00\x09\x00\x00\x03", 6);
}

// Icons have only a zero word and a type; the directory must make sense as well.
bool IsIconOfType(const Head& h, long type, qint64 fileSize) {
  if (h.Le16(0) != 0 || h.Le16(2) != type) return false;
  const long count = h.Le16(4);
  if (count < 1 || h.size() < 22) return false;
  const long long dataSize = h.Le32(14);
  const long long offset = h.Le32(18);
  return h.Byte(9) == 0 && dataSize > 0 && offset >= 6 + 16 * count && offset < fileSize;
}

bool IsPcx(const Head& h) {
  return h.size() >= 128 && h.Byte(0) == 0x0A && OneOf(h.Byte(1), {0, 2, 3, 4, 5}) &&
         OneOf(h.Byte(2), {0, 1}) && OneOf(h.Byte(3), {1, 2, 4, 8}) && h.Le16(8) >= h.Le16(4) &&
         h.Le16(10) >= h.Le16(6) && OneOf(h.Byte(65), {1, 2, 3, 4});
}

bool IsCals(const Head& h) {
  for (const char* key : {"srcdocid:", "rtype:", "version: MIL-STD-1840", "dstdocid:", "txtfilid:",
                          "figid:", "srcgph:", "doccls:", "rorient:", "rpelcnt:"})
    if (h.Starts(key)) return true;
  return false;
}

bool LooksLikeTga(const Head& h) {
  return h.size() >= 18 && OneOf(h.Byte(1), {0, 1}) &&
         OneOf(h.Byte(2), {1, 2, 3, 9, 10, 11, 32, 33}) &&
         OneOf(h.Byte(16), {1, 8, 15, 16, 24, 32}) && h.Le16(12) > 0 && h.Le16(14) > 0;
}

// A 512-byte header (ignored), then the picture size, frame and version opcode.
bool LooksLikePict(const Head& h) {
  for (std::size_t start : {std::size_t(512), std::size_t(0)})
    if (h.Has(start + 10, "\x11\x01", 2) || h.Has(start + 10, "\x00\x11\x02\xFF", 4)) return true;
  return false;
}

bool LooksLikeMacPaint(const Head& h, qint64 fileSize) {
  if (fileSize < 512) return false;
  const bool macBinary =
      h.Byte(0) == 0 && h.Byte(1) >= 1 && h.Byte(1) <= 63 && h.Has(65, "PNTG", 4);
  const long long version = h.Be16(0) << 16 | h.Be16(2);
  return macBinary || OneOf(long(version), {0, 2, 3});
}

bool LooksLikeGemImg(const Head& h) {
  const long headerWords = h.Be16(2);
  return h.size() >= 16 && h.Be16(0) >= 1 && h.Be16(0) <= 3 && headerWords >= 8 &&
         headerWords <= 64 && h.Be16(4) >= 1 && h.Be16(4) <= 8 && h.Be16(6) >= 1 &&
         h.Be16(6) <= 8 && h.Be16(12) > 0 && h.Be16(14) > 0;
}

int SignatureFormat(const Head& h, qint64 fileSize) {
  if (h.Has(0, "\xFF\xD8\xFF", 3)) return FILE_JPEG;
  if (h.Has(0, "\x89PNG\r\n\x1A\n", 8)) return FILE_PNG;
  if (h.Starts("GIF87a") || h.Starts("GIF89a")) return FILE_GIF;
  if (IsBmp(h)) return FILE_BMP;
  if (IsTiff(h)) return FILE_TIF;
  if (h.Starts("8BPS") && OneOf(h.Be16(4), {1, 2})) return FILE_PSD;
  if (h.Has(0, "\x59\xA6\x6A\x95", 4)) return FILE_RAS;
  if (h.Has(0, "\xFFWPC", 4)) return FILE_WPG;
  if (h.Has(128, "DICM", 4)) return FILE_DICOM;
  if (h.Starts("DanM") || h.Starts("LinS")) return FILE_MSP;
  if (IsEps(h)) return FILE_EPS;
  if (IsWmf(h)) return FILE_WMF;
  if (IsIconOfType(h, 1, fileSize)) return FILE_ICO;
  if (IsIconOfType(h, 2, fileSize)) return FILE_CUR;
  if (IsPcx(h)) return FILE_PCX;
  if (IsCals(h)) return FILE_CALS;
  return FILE_UNKNOWN;
}

int ExtensionFormat(const Head& h, qint64 fileSize, const QString& extension) {
  switch (const int format = FormatForExtension(extension)) {
    case FILE_TGA:
      return LooksLikeTga(h) ? format : FILE_UNKNOWN;
    case FILE_PCT:
      return LooksLikePict(h) ? format : FILE_UNKNOWN;
    case FILE_MAC:
      return LooksLikeMacPaint(h, fileSize) ? format : FILE_UNKNOWN;
    case FILE_GEM_IMG:
      return LooksLikeGemImg(h) ? format : FILE_UNKNOWN;
    case FILE_DICOM:  // DICOM files without the 128-byte preamble start with a group tag
      return h.Le16(0) == 0x0002 || h.Le16(0) == 0x0008 ? format : FILE_UNKNOWN;
    case FILE_LEAD_CMP:
    case FILE_WINFAX:
    case FILE_ICA:
    case FILE_AWD:
      // Nothing here reads these; naming the format gives the honest error.
      return format;
    default:
      return FILE_UNKNOWN;
  }
}
}  // namespace

int DetectFormat(const unsigned char* head, std::size_t size, qint64 fileSize,
                 const QString& extension) {
  const Head h(head, size);
  if (const int format = SignatureFormat(h, fileSize); format != FILE_UNKNOWN) return format;
  return ExtensionFormat(h, fileSize, extension);
}
