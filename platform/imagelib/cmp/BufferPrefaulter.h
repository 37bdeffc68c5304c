#pragma once

#include <atomic>
#include <cstddef>
#include <thread>

// Faults in the pages of a freshly allocated buffer on a second thread while the decoder
// fills it from the top. On a large photo the first touch of each page costs about a
// third of the decoding itself; this moves that cost off the decoding thread. The pages'
// contents are never touched, so the two threads need no coordination. Small buffers,
// and kernels without MADV_POPULATE_WRITE, get no thread.
class BufferPrefaulter {
 public:
  BufferPrefaulter(void* data, std::size_t size);
  ~BufferPrefaulter();
  BufferPrefaulter(const BufferPrefaulter&) = delete;
  BufferPrefaulter& operator=(const BufferPrefaulter&) = delete;

 private:
  void run(unsigned char* begin, unsigned char* end);

  std::atomic<bool> stop_{false};
  std::thread thread_;
};
