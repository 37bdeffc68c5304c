#include "cmp/JpegReader.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>

#include "cmp/JpegFileSource.h"
#include "krn/ResultCodes.h"

namespace {
constexpr int kRowsPerCall = 16;
constexpr unsigned char kJpegStart[] = {0xFF, 0xD8, 0xFF};

int ResultForOpenError(int error) {
  return error == ENOENT || error == ENOTDIR ? ERROR_FILE_NOT_FOUND : ERROR_FILE_OPEN;
}
}  // namespace

JpegReader::~JpegReader() {
  // Safe on a struct libjpeg never set up: it only frees what the memory manager holds.
  jpeg_destroy_decompress(&cinfo_);
  if (fd_ >= 0) ::close(fd_);
}

int JpegReader::open(const QString& file, std::size_t bufferSize) {
  const QByteArray path = QFile::encodeName(file);
  // O_NONBLOCK: a FIFO left among the photos must not hang the reader; it is refused below.
  fd_ = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd_ < 0) return ResultForOpenError(errno);
  struct stat st {};
  if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) return ERROR_FILE_OPEN;
  fileSize_ = st.st_size;
  // The start marker and the next marker's 0xFF. libjpeg would skip other bytes there,
  // but the file module takes such a file for no picture at all, and every reader must
  // give the same answer.
  unsigned char head[sizeof kJpegStart] = {};
  const ssize_t got = ::pread(fd_, head, sizeof head, 0);
  if (got < 0) return ERROR_FILE_READ;
  if (got != ssize_t(sizeof head) || std::memcmp(head, kJpegStart, sizeof head) != 0)
    return ERROR_FILE_FORMAT;
  return startSession(bufferSize);
}

int JpegReader::startSession(std::size_t bufferSize) {
  cinfo_.err = InstallJpegErrorManager(errors_);
  if (setjmp(errors_.jump)) return errors_.result;
  jpeg_create_decompress(&cinfo_);
  UseJpegFileSource(&cinfo_, fd_, bufferSize);
  return SUCCESS;
}

int JpegReader::readHeader(bool keepComments) {
  if (setjmp(errors_.jump)) return errors_.result;
  jpeg_save_markers(&cinfo_, JPEG_APP0 + 1, 0xFFFF);
  if (keepComments) jpeg_save_markers(&cinfo_, JPEG_COM, 0xFFFF);
  jpeg_read_header(&cinfo_, TRUE);
  return SUCCESS;
}

qint64 JpegReader::dataBytes() const {
  const off_t position = fd_ >= 0 ? ::lseek(fd_, 0, SEEK_CUR) : off_t(-1);
  if (position < 0 || cinfo_.src == nullptr) return fileSize_;
  const qint64 consumed = qint64(position) - qint64(cinfo_.src->bytes_in_buffer);
  return consumed >= 0 && consumed <= fileSize_ ? fileSize_ - consumed : fileSize_;
}

int JpegReader::prepareOutput(J_COLOR_SPACE space, int scaleDenominator) {
  if (setjmp(errors_.jump)) return errors_.result;
  cinfo_.out_color_space = space;
  cinfo_.scale_num = 1;
  cinfo_.scale_denom = unsigned(scaleDenominator);
  cinfo_.dct_method = JDCT_ISLOW;
  jpeg_calc_output_dimensions(&cinfo_);
  return SUCCESS;
}

int JpegReader::decodeRows(unsigned char* first, qsizetype stride, int rowCount) {
  cinfo_.progress = InstallJpegProgressMonitor(progress_);
  if (setjmp(errors_.jump)) return errors_.result;
  jpeg_start_decompress(&cinfo_);
  // The buffer was sized from prepareOutput; never let libjpeg write past it.
  if (qsizetype(cinfo_.output_width) * cinfo_.output_components > stride ||
      cinfo_.output_height > JDIMENSION(rowCount))
    return ERROR_FAILURE;
  while (cinfo_.output_scanline < cinfo_.output_height) {
    JSAMPROW rows[kRowsPerCall];
    const JDIMENSION start = cinfo_.output_scanline;
    const JDIMENSION left = cinfo_.output_height - start;
    const JDIMENSION count = left < JDIMENSION(kRowsPerCall) ? left : JDIMENSION(kRowsPerCall);
    for (JDIMENSION i = 0; i < count; ++i) rows[i] = first + qsizetype(start + i) * stride;
    if (jpeg_read_scanlines(&cinfo_, rows, count) == 0) return ERROR_FILE_CORRUPT;
  }
  return SUCCESS;
}
