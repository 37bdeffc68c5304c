#include "fil/TiffHeader.h"

#include <cstdint>

namespace {
constexpr int kTagBitsPerSample = 258;
constexpr int kTagPhotometric = 262;
constexpr int kTagOrientation = 274;
constexpr int kTagSamplesPerPixel = 277;
constexpr int kTagExtraSamples = 338;
constexpr int kTypeShort = 3;

class Reader {
 public:
  Reader(const unsigned char* data, std::size_t size, bool bigEndian)
      : data_(data), size_(size), big_(bigEndian) {}

  bool U16(std::size_t at, uint32_t& value) const {
    if (at + 2 > size_) return false;
    value =
        big_ ? uint32_t(data_[at] << 8 | data_[at + 1]) : uint32_t(data_[at] | data_[at + 1] << 8);
    return true;
  }
  bool U32(std::size_t at, uint32_t& value) const {
    uint32_t a = 0, b = 0;
    if (!U16(at, a) || !U16(at + 2, b)) return false;
    value = big_ ? (a << 16 | b) : (b << 16 | a);
    return true;
  }

 private:
  const unsigned char* data_;
  std::size_t size_;
  bool big_;
};
}  // namespace

TiffHeaderFacts ReadTiffHeader(const unsigned char* data, std::size_t size) {
  TiffHeaderFacts facts;
  if (size < 8) return facts;
  const bool little = data[0] == 'I' && data[1] == 'I' && data[2] == 42 && data[3] == 0;
  const bool big = data[0] == 'M' && data[1] == 'M' && data[2] == 0 && data[3] == 42;
  if (!little && !big) return facts;
  const Reader in(data, size, big);
  // Defaults of the TIFF format where a tag is absent.
  uint32_t bitsPerSample = 1, samplesPerPixel = 1, photometric = 0xFFFF;
  uint32_t directory = 0, entries = 0;
  if (!in.U32(4, directory) || !in.U16(directory, entries)) return facts;
  for (uint32_t i = 0; i < entries; ++i) {
    const std::size_t entry = std::size_t(directory) + 2 + std::size_t(i) * 12;
    uint32_t tag = 0, type = 0, count = 0, value = 0;
    if (!in.U16(entry, tag) || !in.U16(entry + 2, type) || !in.U32(entry + 4, count) ||
        !in.U16(entry + 8, value))
      return facts;
    if (tag == kTagExtraSamples && count > 0) facts.HasAlpha = true;
    // With several samples the value is an offset; all samples share one depth here.
    if (tag == kTagBitsPerSample && type == kTypeShort && count <= 2) bitsPerSample = value;
    if (tag == kTagSamplesPerPixel && type == kTypeShort) samplesPerPixel = value;
    if (tag == kTagPhotometric && type == kTypeShort) photometric = value;
    if (tag == kTagOrientation && type == kTypeShort && count == 1 && value >= 1 && value <= 8)
      facts.Orientation = int(value);
  }
  facts.BlackAndWhite = bitsPerSample == 1 && samplesPerPixel == 1 && photometric <= 1;
  facts.Valid = true;
  return facts;
}
