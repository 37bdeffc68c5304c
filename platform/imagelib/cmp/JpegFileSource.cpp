#include "cmp/JpegFileSource.h"

#include <cerrno>
#include <unistd.h>

#include <jerror.h>

namespace {
struct FileSource {
  jpeg_source_mgr pub;  // first member: libjpeg hands back a pointer to it
  int fd;
  JOCTET* buffer;
  std::size_t bufferSize;
  bool startOfFile;
};

FileSource* SourceOf(j_decompress_ptr cinfo) { return reinterpret_cast<FileSource*>(cinfo->src); }

void InitSource(j_decompress_ptr cinfo) { SourceOf(cinfo)->startOfFile = true; }

ssize_t ReadSome(int fd, JOCTET* buffer, std::size_t size) {
  for (;;) {
    const ssize_t n = ::read(fd, buffer, size);
    if (n >= 0 || errno != EINTR) return n;
  }
}

boolean FillBuffer(j_decompress_ptr cinfo) {
  FileSource* src = SourceOf(cinfo);
  const ssize_t n = ReadSome(src->fd, src->buffer, src->bufferSize);
  if (n < 0) {
    ERREXIT(cinfo, JERR_FILE_READ);
    return FALSE;  // not reached: error_exit does not return
  }
  if (n == 0) {
    if (src->startOfFile) {
      ERREXIT(cinfo, JERR_INPUT_EMPTY);
      return FALSE;
    }
    WARNMS(cinfo, JWRN_JPEG_EOF);
    // Only reached if the warning returns: end the data with a fake EOI as libjpeg expects.
    src->buffer[0] = 0xFF;
    src->buffer[1] = JPEG_EOI;
    src->pub.next_input_byte = src->buffer;
    src->pub.bytes_in_buffer = 2;
    return TRUE;
  }
  src->pub.next_input_byte = src->buffer;
  src->pub.bytes_in_buffer = std::size_t(n);
  src->startOfFile = false;
  return TRUE;
}

void SkipData(j_decompress_ptr cinfo, long count) {
  if (count <= 0) return;
  FileSource* src = SourceOf(cinfo);
  std::size_t remaining = std::size_t(count);
  if (remaining <= src->pub.bytes_in_buffer) {
    src->pub.next_input_byte += remaining;
    src->pub.bytes_in_buffer -= remaining;
    return;
  }
  remaining -= src->pub.bytes_in_buffer;
  src->pub.bytes_in_buffer = 0;
  // Large APP segments (thumbnails, ICC profiles) are jumped over instead of read;
  // a jump past the end shows up as the end of the file at the next read.
  if (::lseek(src->fd, off_t(remaining), SEEK_CUR) != off_t(-1)) {
    src->startOfFile = false;
    return;
  }
  while (remaining > 0) {
    FillBuffer(cinfo);
    const std::size_t step = remaining < src->pub.bytes_in_buffer ? remaining : src->pub.bytes_in_buffer;
    src->pub.next_input_byte += step;
    src->pub.bytes_in_buffer -= step;
    remaining -= step;
  }
}

void TermSource(j_decompress_ptr) {}
}  // namespace

void UseJpegFileSource(j_decompress_ptr cinfo, int fd, std::size_t bufferSize) {
  if (bufferSize < 16) bufferSize = 16;
  auto* src = static_cast<FileSource*>(
      (*cinfo->mem->alloc_small)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_PERMANENT, sizeof(FileSource)));
  src->fd = fd;
  src->bufferSize = bufferSize;
  src->buffer = static_cast<JOCTET*>(
      (*cinfo->mem->alloc_small)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_PERMANENT, bufferSize));
  src->startOfFile = true;
  src->pub.init_source = InitSource;
  src->pub.fill_input_buffer = FillBuffer;
  src->pub.skip_input_data = SkipData;
  src->pub.resync_to_restart = jpeg_resync_to_restart;
  src->pub.term_source = TermSource;
  src->pub.bytes_in_buffer = 0;
  src->pub.next_input_byte = nullptr;
  cinfo->src = &src->pub;
}
