#include <algorithm>
#include <unistd.h>

#include "cmp/BufferPrefaulter.h"
#include "cmp/CmykConversion.h"
#include "cmp/ExifOrientation.h"
#include "cmp/JpegCapacity.h"
#include "cmp/JpegCodec.h"
#include "cmp/JpegMarkerMetadata.h"
#include "cmp/JpegPixelLayout.h"
#include "cmp/JpegReader.h"
#include "krn/ResultCodes.h"

namespace {
// Big enough that a whole small thumbnail arrives in one read.
constexpr std::size_t kDecodeBufferSize = 64 * 1024;

const QList<QRgb>& GreyRamp() {
  static const QList<QRgb> ramp = [] {
    QList<QRgb> colours(256);
    for (int i = 0; i < 256; ++i) colours[i] = qRgb(i, i, i);
    return colours;
  }();
  return ramp;
}

double PhysicalMemoryBytes() {
  const long pages = sysconf(_SC_PHYS_PAGES);
  const long pageSize = sysconf(_SC_PAGESIZE);
  return pages > 0 && pageSize > 0 ? double(pages) * double(pageSize) : 0.0;
}

// JPEG allows 65500 x 65500 pixels; a picture that could never fit in this machine's
// memory is refused before anything is allocated.
bool FitsInMemory(JDIMENSION width, JDIMENSION height, int bytesPerPixel) {
  const double limit = PhysicalMemoryBytes();
  return limit <= 0.0 || double(width) * double(height) * bytesPerPixel < limit;
}

unsigned ScaledSize(JDIMENSION size, int denominator) {
  return (size + unsigned(denominator) - 1) / unsigned(denominator);
}

int ScaleDenominatorFor(const jpeg_decompress_struct& info, int orientation,
                        const QSize* minimum) {
  if (!minimum) return 1;
  // The request is for the upright picture; the file stores it on its side for 5..8.
  const QSize wanted = OrientationSwapsAxes(orientation) ? minimum->transposed() : *minimum;
  for (int denominator : {8, 4, 2}) {
    if (ScaledSize(info.image_width, denominator) >= unsigned(std::max(wanted.width(), 0)) &&
        ScaledSize(info.image_height, denominator) >= unsigned(std::max(wanted.height(), 0)))
      return denominator;
  }
  return 1;
}

int DotsPerInch(int density, int unit) {
  if (density <= 0) return 0;
  if (unit == 1) return density;
  if (unit == 2) return int(density * 2.54 + 0.5);
  return 0;
}

// minimum: the smallest upright size wanted from a scaled decode; null for full size.
int DecodeJpeg(const QString& file, ImageBitmap& bmp, int bitsPerPixel, const QSize* minimum,
               QString* description) {
  if (bitsPerPixel != 0 && bitsPerPixel != 8 && bitsPerPixel != 24 && bitsPerPixel != 32)
    return ERROR_BPP_NOT_SUPPORTED;
  JpegReader reader;
  int result = reader.open(file, kDecodeBufferSize);
  if (result == SUCCESS) result = reader.readHeader(description != nullptr);
  if (result != SUCCESS) return result;

  const jpeg_decompress_struct& info = reader.info();
  result = CheckJpegCapacity(info.image_width, info.image_height, JpegBlockCount(info),
                             info.arith_code, reader.dataBytes());
  if (result != SUCCESS) return result;
  const JpegMarkerMetadata metadata =
      ReadJpegMarkerMetadata(info.marker_list, description != nullptr);
  const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
  const int bits =
      bitsPerPixel != 0 ? bitsPerPixel : (info.jpeg_color_space == JCS_GRAYSCALE ? 8 : 24);
  // Grey output from colour files decodes only the luminance; CMYK needs our own pass.
  const J_COLOR_SPACE space = cmyk ? JCS_CMYK : bits == 8 ? JCS_GRAYSCALE : kRgb32ColorSpace;
  const int denominator = ScaleDenominatorFor(info, metadata.Orientation, minimum);
  result = reader.prepareOutput(space, denominator);
  if (result != SUCCESS) return result;

  const bool indexed = space == JCS_GRAYSCALE;
  if (!FitsInMemory(info.output_width, info.output_height, indexed ? 1 : 4))
    return ERROR_NO_MEMORY;
  QImage image(int(info.output_width), int(info.output_height),
               indexed ? QImage::Format_Indexed8 : QImage::Format_RGB32);
  if (image.isNull()) return ERROR_NO_MEMORY;
  {
    BufferPrefaulter prefaulter(image.bits(), std::size_t(image.sizeInBytes()));
    result = reader.decodeRows(image.bits(), image.bytesPerLine(), image.height());
  }
  if (result != SUCCESS) return result;

  if (cmyk) ConvertCmykToRgbInPlace(image, info.saw_Adobe_marker);
  if (indexed) image.setColorTable(GreyRamp());
  if (bits == 8 && !indexed) image = image.convertToFormat(QImage::Format_Grayscale8);
  image = OrientUpright(image, metadata.Orientation);
  if (bits == 32) image.reinterpretAsFormat(QImage::Format_ARGB32);
  if (image.isNull()) return ERROR_NO_MEMORY;

  ImageBitmap decoded;
  result = SetBitmapImage(decoded, std::move(image));
  if (result != SUCCESS) return result;
  decoded.Order = bits == 8 ? ColorOrder::Gray : ColorOrder::Bgr;
  const int xDpi = DotsPerInch(info.X_density, info.density_unit);
  const int yDpi = DotsPerInch(info.Y_density, info.density_unit);
  if (xDpi > 0 && yDpi > 0) {
    decoded.XResolution = xDpi;
    decoded.YResolution = yDpi;
  }
  bmp = std::move(decoded);
  if (description) *description = metadata.Description.value_or(QString());
  return SUCCESS;
}
}  // namespace

int DecodeJpegFile(const QString& file, ImageBitmap& bmp, int bitsPerPixel, QString* description) {
  return DecodeJpeg(file, bmp, bitsPerPixel, nullptr, description);
}

int DecodeJpegFileScaled(const QString& file, ImageBitmap& bmp, int bitsPerPixel, int minWidth,
                         int minHeight, QString* description) {
  const QSize minimum(minWidth, minHeight);
  return DecodeJpeg(file, bmp, bitsPerPixel, &minimum, description);
}
