#pragma once

// Reading numbers out of a file's bytes without ever passing the end: a value past it
// reads as zero, and Has tells whether it is there.

#include <cstddef>
#include <cstdint>

class HeaderBytes {
 public:
  HeaderBytes(const unsigned char* data, std::size_t size) : data_(data), size_(size) {}
  std::size_t size() const { return size_; }
  const unsigned char* data() const { return data_; }
  bool Has(std::size_t at, std::size_t count) const { return at <= size_ && count <= size_ - at; }
  uint32_t U8(std::size_t at) const { return Has(at, 1) ? data_[at] : 0; }
  uint32_t Le16(std::size_t at) const { return Has(at, 2) ? data_[at] | data_[at + 1] << 8 : 0; }
  uint32_t Be16(std::size_t at) const { return Has(at, 2) ? data_[at] << 8 | data_[at + 1] : 0; }
  uint32_t Le32(std::size_t at) const {
    return Has(at, 4) ? uint32_t(Le16(at)) | uint32_t(Le16(at + 2)) << 16 : 0;
  }
  uint32_t Be32(std::size_t at) const {
    return Has(at, 4) ? uint32_t(Be16(at)) << 16 | uint32_t(Be16(at + 2)) : 0;
  }

 private:
  const unsigned char* data_;
  std::size_t size_;
};
