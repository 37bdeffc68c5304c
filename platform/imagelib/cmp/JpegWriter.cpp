#include "cmp/JpegWriter.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>

#include "cmp/JpegFileDestination.h"
#include "krn/ResultCodes.h"

namespace {
constexpr int kRowsPerCall = 16;
constexpr std::size_t kOutputBufferSize = 64 * 1024;

int ResultForCreateError(int error) {
  // The file exists but may not be replaced: the same code as for reading it.
  if (error == EACCES || error == EPERM || error == EISDIR) return ERROR_FILE_OPEN;
  return ERROR_FILE_WRITE;
}
}  // namespace

JpegWriter::~JpegWriter() {
  jpeg_destroy_compress(&cinfo_);
  if (fd_ >= 0) ::close(fd_);
}

int JpegWriter::write(const QString& file, const JpegWriteJob& job) {
  const QByteArray path = QFile::encodeName(file);
  fd_ = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd_ < 0) return ResultForCreateError(errno);
  struct stat st {};
  const bool regular = ::fstat(fd_, &st) == 0 && S_ISREG(st.st_mode);

  int result = compress(job);
  // libjpeg's own complaints about our parameters are not about a damaged file.
  if (result == ERROR_FILE_CORRUPT) result = ERROR_FAILURE;
  const int closed = ::close(fd_);
  fd_ = -1;
  if (result == SUCCESS && closed != 0) result = ERROR_FILE_WRITE;
  if (result != SUCCESS && regular) ::unlink(path.constData());
  return result;
}

int JpegWriter::compress(const JpegWriteJob& job) {
  cinfo_.err = InstallJpegErrorManager(errors_);
  if (setjmp(errors_.jump)) return errors_.result;
  jpeg_create_compress(&cinfo_);
  cinfo_.progress = InstallJpegProgressMonitor(progress_);
  UseJpegFileDestination(&cinfo_, fd_, kOutputBufferSize);

  cinfo_.image_width = JDIMENSION(job.width);
  cinfo_.image_height = JDIMENSION(job.height);
  cinfo_.in_color_space = job.inputSpace;
  cinfo_.input_components = job.inputComponents;
  jpeg_set_defaults(&cinfo_);
  jpeg_set_colorspace(&cinfo_, job.grey ? JCS_GRAYSCALE : JCS_YCbCr);
  if (!job.grey && !job.subsampleChroma) {
    cinfo_.comp_info[0].h_samp_factor = 1;
    cinfo_.comp_info[0].v_samp_factor = 1;
  }
  jpeg_set_linear_quality(&cinfo_, job.qualityScale, TRUE);
  cinfo_.optimize_coding = FALSE;
  cinfo_.dct_method = JDCT_ISLOW;
  cinfo_.write_JFIF_header = TRUE;
  if (job.xDotsPerInch > 0 && job.xDotsPerInch <= 65535 && job.yDotsPerInch > 0 &&
      job.yDotsPerInch <= 65535) {
    cinfo_.density_unit = 1;
    cinfo_.X_density = UINT16(job.xDotsPerInch);
    cinfo_.Y_density = UINT16(job.yDotsPerInch);
  }

  jpeg_start_compress(&cinfo_, TRUE);
  for (const JpegWriteJob::Marker& marker : job.markers)
    jpeg_write_marker(&cinfo_, marker.code, reinterpret_cast<const JOCTET*>(marker.data.constData()),
                      unsigned(marker.data.size()));
  while (cinfo_.next_scanline < cinfo_.image_height) {
    JSAMPROW rows[kRowsPerCall];
    const JDIMENSION start = cinfo_.next_scanline;
    const JDIMENSION left = cinfo_.image_height - start;
    const JDIMENSION count = left < JDIMENSION(kRowsPerCall) ? left : JDIMENSION(kRowsPerCall);
    // libjpeg only reads the rows; its interface just lacks the const.
    for (JDIMENSION i = 0; i < count; ++i)
      rows[i] = const_cast<JSAMPLE*>(job.firstRow + qsizetype(start + i) * job.stride);
    jpeg_write_scanlines(&cinfo_, rows, count);
  }
  jpeg_finish_compress(&cinfo_);
  return SUCCESS;
}
