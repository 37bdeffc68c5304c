#include "cmp/JpegFileDestination.h"

#include <cerrno>
#include <unistd.h>

#include <jerror.h>

namespace {
struct FileDestination {
  jpeg_destination_mgr pub;  // first member: libjpeg hands back a pointer to it
  int fd;
  JOCTET* buffer;
  std::size_t bufferSize;
};

FileDestination* DestinationOf(j_compress_ptr cinfo) {
  return reinterpret_cast<FileDestination*>(cinfo->dest);
}

bool WriteAll(int fd, const JOCTET* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) return false;
    data += n;
    size -= std::size_t(n);
  }
  return true;
}

void InitDestination(j_compress_ptr cinfo) {
  FileDestination* dest = DestinationOf(cinfo);
  dest->pub.next_output_byte = dest->buffer;
  dest->pub.free_in_buffer = dest->bufferSize;
}

boolean EmptyBuffer(j_compress_ptr cinfo) {
  FileDestination* dest = DestinationOf(cinfo);
  // libjpeg calls this with the whole buffer full, whatever free_in_buffer says.
  if (!WriteAll(dest->fd, dest->buffer, dest->bufferSize)) ERREXIT(cinfo, JERR_FILE_WRITE);
  dest->pub.next_output_byte = dest->buffer;
  dest->pub.free_in_buffer = dest->bufferSize;
  return TRUE;
}

void TermDestination(j_compress_ptr cinfo) {
  FileDestination* dest = DestinationOf(cinfo);
  const std::size_t used = dest->bufferSize - dest->pub.free_in_buffer;
  if (!WriteAll(dest->fd, dest->buffer, used)) ERREXIT(cinfo, JERR_FILE_WRITE);
}
}  // namespace

void UseJpegFileDestination(j_compress_ptr cinfo, int fd, std::size_t bufferSize) {
  auto* dest = static_cast<FileDestination*>((*cinfo->mem->alloc_small)(
      reinterpret_cast<j_common_ptr>(cinfo), JPOOL_PERMANENT, sizeof(FileDestination)));
  dest->fd = fd;
  dest->bufferSize = bufferSize;
  dest->buffer = static_cast<JOCTET*>((*cinfo->mem->alloc_small)(
      reinterpret_cast<j_common_ptr>(cinfo), JPOOL_PERMANENT, bufferSize));
  dest->pub.init_destination = InitDestination;
  dest->pub.empty_output_buffer = EmptyBuffer;
  dest->pub.term_destination = TermDestination;
  cinfo->dest = &dest->pub;
}
