#include "ShowLayout.h"

#include <sys/stat.h>
#include <unistd.h>

#include <array>

namespace {
constexpr std::int64_t kIntegerSize = 4;
constexpr std::int64_t kHeaderCount = 6;

bool ReadExactly(int fd, void* buffer, std::size_t size, std::int64_t offset) {
  auto* bytes = static_cast<unsigned char*>(buffer);
  while (size > 0) {
    const ssize_t got = pread(fd, bytes, size, offset);
    if (got <= 0) return false;
    bytes += got;
    size -= static_cast<std::size_t>(got);
    offset += got;
  }
  return true;
}

std::int32_t LittleEndian(const unsigned char* bytes) {
  const std::uint32_t value = std::uint32_t(bytes[0]) | std::uint32_t(bytes[1]) << 8 |
                              std::uint32_t(bytes[2]) << 16 | std::uint32_t(bytes[3]) << 24;
  return static_cast<std::int32_t>(value);
}

bool ReadIntegers(int fd, std::int64_t offset, std::size_t count,
                  std::vector<std::int32_t>& values) {
  std::vector<unsigned char> bytes(count * kIntegerSize);
  if (count > 0 && !ReadExactly(fd, bytes.data(), bytes.size(), offset)) return false;
  values.resize(count);
  for (std::size_t i = 0; i < count; ++i) values[i] = LittleEndian(&bytes[i * kIntegerSize]);
  return true;
}
}  // namespace

bool ReadShowLayout(int fd, const std::string& slideShowPlayer,
                    const std::string& screenSaverPlayer, ShowLayout& layout) {
  struct stat info {};
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) return false;
  const std::int64_t length = info.st_size;
  if (length < kIntegerSize * (kHeaderCount + 1)) return false;

  std::vector<std::int32_t> count;
  if (!ReadIntegers(fd, length - kIntegerSize, 1, count)) return false;
  const std::int64_t photos = count[0];
  if (photos < 0 || kIntegerSize * (kHeaderCount + 1 + photos) > length) return false;
  const std::int64_t trailer = length - kIntegerSize * (kHeaderCount + 1 + photos);

  std::vector<std::int32_t> header;
  std::vector<std::int32_t> photoOffsets;
  if (!ReadIntegers(fd, trailer, kHeaderCount, header) ||
      !ReadIntegers(fd, trailer + kIntegerSize * kHeaderCount, static_cast<std::size_t>(photos),
                    photoOffsets))
    return false;

  layout = ShowLayout();
  layout.ScreenSaver = header[5] != 0;
  static const std::array<const char*, 5> kLibraries = {
      "lfcmp10n.dll", "ltdis10n.dll", "ltfil10n.dll", "ltkrn10n.dll", "ltefx10n.dll"};
  std::vector<std::pair<std::string, std::int64_t>> starts;
  starts.emplace_back(layout.ScreenSaver ? screenSaverPlayer : slideShowPlayer, header[0]);
  for (std::size_t i = 0; i < kLibraries.size(); ++i)
    if (i < 4 || layout.ScreenSaver) starts.emplace_back(kLibraries[i], header[i + 1]);
  for (std::size_t i = 0; i < photoOffsets.size(); ++i)
    starts.emplace_back("photo" + std::to_string(i) + ".jpg", photoOffsets[i]);

  // Each piece ends where the next begins; the last one at the trailer.
  std::int64_t previous = 0;
  for (std::size_t i = 0; i < starts.size(); ++i) {
    const std::int64_t begin = starts[i].second;
    const std::int64_t end = i + 1 < starts.size() ? starts[i + 1].second : trailer;
    if (begin < previous || end < begin || end > trailer) return false;
    layout.Pieces.push_back({starts[i].first, begin, end});
    previous = begin;
  }
  return true;
}
