#include "cmp/DescriptionText.h"
#include "cmp/ExifSegment.h"
#include "cmp/JpegCodec.h"
#include "cmp/JpegPixelLayout.h"
#include "cmp/JpegWriter.h"
#include "cmp/XmpPacket.h"
#include "krn/ResultCodes.h"

namespace {
constexpr int kFormatNoSubsampling = 10;
constexpr int kFormatSubsampled = 21;
constexpr int kMaxMarkerData = 65533;

bool HasGreyRamp(const QImage& image) {
  if (image.format() != QImage::Format_Indexed8 || image.colorCount() != 256) return false;
  const QList<QRgb> colours = image.colorTable();
  for (int i = 0; i < 256; ++i)
    if ((colours[i] & 0xFFFFFF) != (qRgb(i, i, i) & 0xFFFFFF)) return false;
  return true;
}

void AddDescriptionMarkers(const QString& description, const ImageBitmap& bmp, JpegWriteJob& job) {
  const QString text = DescriptionToWrite(description);
  if (text.isEmpty()) return;
  const QByteArray utf8 = text.toUtf8();
  const QList<JpegWriteJob::Marker> markers = {
      {JPEG_APP0 + 1, BuildExifSegment(utf8, bmp.XResolution, bmp.YResolution)},
      {JPEG_APP0 + 1, BuildXmpSegment(text)},
      {JPEG_COM, utf8},
  };
  // 255 characters stay far below a segment's limit; the check guards the format.
  for (const JpegWriteJob::Marker& marker : markers)
    if (marker.data.size() <= kMaxMarkerData) job.markers.append(marker);
}
}  // namespace

int EncodeJpegFile(const QString& file, const ImageBitmap& bmp, int format, int bitsPerPixel,
                   int qualityFactor, const QString& description) {
  if (!bmp.hasPixels()) return ERROR_NO_BITMAP;
  if (format != kFormatNoSubsampling && format != kFormatSubsampled) return ERROR_INV_PARAMETER;
  if (qualityFactor < 2 || qualityFactor > 255) return ERROR_INV_PARAMETER;
  const QImage& pixels = bmp.Pixels;
  const bool greyRamp = HasGreyRamp(pixels);
  const int bits = bitsPerPixel != 0 ? bitsPerPixel : (greyRamp ? 8 : 24);
  if (bits != 8 && bits != 24) return ERROR_BPP_NOT_SUPPORTED;
  if (pixels.width() > JPEG_MAX_DIMENSION || pixels.height() > JPEG_MAX_DIMENSION)
    return ERROR_IMAGE_TOO_LARGE;

  // Grey and 32-bit pixels go to libjpeg as they are; anything else is converted once.
  QImage source;
  JpegWriteJob job;
  if (bits == 8 && greyRamp) {
    source = pixels;
    job.inputSpace = JCS_GRAYSCALE;
    job.inputComponents = 1;
  } else {
    const bool direct =
        pixels.format() == QImage::Format_RGB32 || pixels.format() == QImage::Format_ARGB32;
    source = direct ? pixels : pixels.convertToFormat(QImage::Format_RGB32);
    job.inputSpace = kRgb32ColorSpace;
    job.inputComponents = 4;
  }
  if (source.isNull()) return ERROR_NO_MEMORY;

  job.firstRow = source.constBits();
  job.stride = source.bytesPerLine();
  job.width = source.width();
  job.height = source.height();
  job.grey = bits == 8;
  job.subsampleChroma = format == kFormatSubsampled;
  job.qualityScale = 2 * qualityFactor;
  job.xDotsPerInch = bmp.XResolution;
  job.yDotsPerInch = bmp.YResolution;
  AddDescriptionMarkers(description, bmp, job);

  JpegWriter writer;
  return writer.write(file, job);
}
