#include "cmp/BufferPrefaulter.h"

#include <cstdint>
#include <sys/mman.h>
#include <unistd.h>

namespace {
constexpr std::size_t kMinimumSize = 16u << 20;
constexpr std::size_t kChunkSize = 2u << 20;
}  // namespace

BufferPrefaulter::BufferPrefaulter(void* data, std::size_t size) {
#ifdef MADV_POPULATE_WRITE
  if (size < kMinimumSize) return;
  const auto page = std::uintptr_t(sysconf(_SC_PAGESIZE));
  const auto first = reinterpret_cast<std::uintptr_t>(data);
  // madvise wants whole pages; the partial pages at either end fault in as usual.
  const std::uintptr_t begin = (first + page - 1) / page * page;
  const std::uintptr_t end = (first + size) / page * page;
  try {
    thread_ = std::thread(&BufferPrefaulter::run, this, reinterpret_cast<unsigned char*>(begin),
                          reinterpret_cast<unsigned char*>(end));
  } catch (...) {
    // Without a thread the decoder simply faults the pages in itself.
  }
#else
  (void)data;
  (void)size;
#endif
}

BufferPrefaulter::~BufferPrefaulter() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
}

void BufferPrefaulter::run(unsigned char* begin, unsigned char* end) {
#ifdef MADV_POPULATE_WRITE
  for (unsigned char* chunk = begin; chunk < end && !stop_; chunk += kChunkSize) {
    const std::size_t length = std::size_t(end - chunk) < kChunkSize ? std::size_t(end - chunk) : kChunkSize;
    if (::madvise(chunk, length, MADV_POPULATE_WRITE) != 0) return;  // not supported, or no memory
  }
#else
  (void)begin;
  (void)end;
#endif
}
