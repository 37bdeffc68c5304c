#include "twn/ScanReader.h"

#include <QByteArray>

#include <cstring>

#include "krn/ResultCodes.h"
#include "krn/ltkrn.h"

namespace {

// More than any scan a home scanner makes; beyond it a device is sending nonsense.
constexpr qint64 maxFrameBytes = qint64(1) << 30;
constexpr int maxSide = 65535;

int StatusResult(SANE_Status status) {
  switch (status) {
    case SANE_STATUS_CANCELLED: return ERROR_USER_ABORT;
    case SANE_STATUS_NO_MEM: return ERROR_NO_MEMORY;
    default: return ERROR_FAILURE;
  }
}

int SamplesPerPixel(SANE_Frame format) { return format == SANE_FRAME_RGB ? 3 : 1; }

bool ValidParameters(const SANE_Parameters& p) {
  if (p.format != SANE_FRAME_GRAY && p.format != SANE_FRAME_RGB && p.format != SANE_FRAME_RED &&
      p.format != SANE_FRAME_GREEN && p.format != SANE_FRAME_BLUE)
    return false;
  if (p.depth != 1 && p.depth != 8 && p.depth != 16) return false;
  if (p.pixels_per_line <= 0 || p.pixels_per_line > maxSide || p.lines == 0 || p.lines > maxSide)
    return false;
  const qint64 bits = qint64(p.pixels_per_line) * SamplesPerPixel(p.format) * p.depth;
  return p.bytes_per_line >= (bits + 7) / 8;
}

// One sample as 0..255, from a row of the frame.
uchar Sample(const uchar* row, int index, int depth, bool isGrey) {
  if (depth == 8) return row[index];
  if (depth == 16) {
    quint16 value;
    std::memcpy(&value, row + 2 * index, 2);  // the machine's own byte order
    return uchar(value >> 8);
  }
  const bool set = row[index / 8] & (0x80 >> (index % 8));
  // In grey line art a set bit is black; in colour it is the full colour.
  return isGrey ? (set ? 0 : 255) : (set ? 255 : 0);
}

}  // namespace

int ScanReader::readFrame(const SANE_Parameters& p, int frameIndex, int frameCount,
                          QByteArray& data) {
  const qint64 expected = p.lines > 0 ? qint64(p.bytes_per_line) * p.lines : -1;
  if (expected > maxFrameBytes) return ERROR_IMAGE_TOO_LARGE;
  data.clear();
  if (expected > 0) data.reserve(qsizetype(expected));
  QByteArray buffer(64 * 1024, Qt::Uninitialized);
  for (;;) {
    SANE_Int length = 0;
    const SANE_Status status = sane_read(device_, reinterpret_cast<SANE_Byte*>(buffer.data()),
                                         SANE_Int(buffer.size()), &length);
    if (status == SANE_STATUS_EOF) break;
    if (status != SANE_STATUS_GOOD) return StatusResult(status);
    if (length < 0 || length > buffer.size()) return ERROR_FAILURE;
    if (data.size() + length > maxFrameBytes) return ERROR_IMAGE_TOO_LARGE;
    data.append(buffer.constData(), length);
    const int framePercent = expected > 0 ? int(qMin<qint64>(100, data.size() * 100 / expected)) : 0;
    if (!ReportProgress((frameIndex * 100 + framePercent) / frameCount)) return ERROR_USER_ABORT;
  }
  return SUCCESS;
}

int ScanReader::run() {
  picture_ = QImage();
  QImage image;
  bool isGrey = true;
  int frameIndex = 0;
  for (;;) {
    const SANE_Status started = sane_start(device_);
    if (started != SANE_STATUS_GOOD) return StatusResult(started);
    SANE_Parameters p;
    if (sane_get_parameters(device_, &p) != SANE_STATUS_GOOD || !ValidParameters(p))
      return ERROR_FAILURE;
    const bool separate = p.format == SANE_FRAME_RED || p.format == SANE_FRAME_GREEN ||
                          p.format == SANE_FRAME_BLUE;
    if (frameIndex > 0 && !separate) return ERROR_FAILURE;  // only colour planes may follow
    QByteArray data;
    const int read = readFrame(p, frameIndex, separate ? 3 : 1, data);
    if (read != SUCCESS) return read;
    qint64 rows = data.size() / p.bytes_per_line;
    if (p.lines > 0) rows = qMin<qint64>(rows, p.lines);
    if (rows <= 0 || rows > maxSide) return ERROR_FAILURE;

    if (frameIndex == 0) {
      isGrey = p.format == SANE_FRAME_GRAY;
      image = QImage(p.pixels_per_line, int(rows),
                     isGrey ? QImage::Format_Grayscale8 : QImage::Format_RGB32);
      if (image.isNull()) return ERROR_NO_MEMORY;
      if (!isGrey) image.fill(Qt::black);
    } else if (image.width() != p.pixels_per_line) {
      return ERROR_FAILURE;
    }
    const int height = qMin(image.height(), int(rows));
    const auto* bytes = reinterpret_cast<const uchar*>(data.constData());
    for (int y = 0; y < height; ++y) {
      const uchar* row = bytes + qint64(y) * p.bytes_per_line;
      // Eight-bit grey and colour, what nearly every device gives, go without sampling.
      if (isGrey && p.depth == 8) {
        std::memcpy(image.scanLine(y), row, size_t(image.width()));
      } else if (p.format == SANE_FRAME_RGB && p.depth == 8) {
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x, row += 3) out[x] = qRgb(row[0], row[1], row[2]);
      } else if (isGrey) {
        uchar* out = image.scanLine(y);
        for (int x = 0; x < image.width(); ++x) out[x] = Sample(row, x, p.depth, true);
      } else {
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
          QRgb c = out[x];
          if (p.format == SANE_FRAME_RGB)
            c = qRgb(Sample(row, 3 * x, p.depth, false), Sample(row, 3 * x + 1, p.depth, false),
                     Sample(row, 3 * x + 2, p.depth, false));
          else if (p.format == SANE_FRAME_RED)
            c = qRgb(Sample(row, x, p.depth, false), qGreen(c), qBlue(c));
          else if (p.format == SANE_FRAME_GREEN)
            c = qRgb(qRed(c), Sample(row, x, p.depth, false), qBlue(c));
          else
            c = qRgb(qRed(c), qGreen(c), Sample(row, x, p.depth, false));
          out[x] = c;
        }
      }
    }
    ++frameIndex;
    if (p.last_frame || frameIndex >= 3) break;
  }
  picture_ = image;
  return SUCCESS;
}
