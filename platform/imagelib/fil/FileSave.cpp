// Saving bitmaps as picture files: arguments checked first, then the picture is encoded
// into a temporary file beside the target, described, and renamed into place.
#include "cmp/JpegCodec.h"
#include "fil/AtomicFileWriter.h"
#include "fil/BitmapDepth.h"
#include "fil/ExivMetadata.h"
#include "fil/FormatDetector.h"
#include "fil/FormatTable.h"
#include "fil/MagickEncoder.h"
#include "fil/MagickRuntime.h"
#include "fil/NoThrow.h"
#include "fil/OwnCodecs.h"
#include "fil/SaveCommentTable.h"
#include "fil/ltfil.h"

namespace {
constexpr int kBestQuality = 2;
constexpr int kSmallestFile = 255;

bool IsBlackAndWhite(const ImageBitmap& bmp) {
  if (bmp.Pixels.format() != QImage::Format_Indexed8) return false;
  for (QRgb c : bmp.Pixels.colorTable())
    if (c != qRgb(0, 0, 0) && c != qRgb(255, 255, 255)) return false;
  return true;
}

bool HasPalette(const FormatTraits& traits) {
  switch (traits.Code) {
    case FILE_CALS:
    case FILE_MSP:
    case FILE_GEM_IMG:
    case FILE_EPS:
      return false;
    default:
      return true;
  }
}

// The bitmap at the depth the file gets: the asked one, or the nearest the format holds.
int PrepareDepth(const ImageBitmap& bmp, const FormatTraits& traits, int bitsPerPixel,
                 ImageBitmap& work) {
  work = bmp;
  work.Width = bmp.Pixels.width();
  work.Height = bmp.Pixels.height();
  work.BitsPerPixel = bmp.Pixels.format() == QImage::Format_Indexed8 ? 8 : 24;
  int depth = NearestDepth(traits, bitsPerPixel);
  // PSD as Magick writes it and EPS hold 8 bits only as grey: a colour palette goes as
  // true colour.
  const bool greyOnly = traits.Code == FILE_PSD || traits.Code == FILE_EPS;
  if (greyOnly && depth > 1 && depth <= 8 && !IsGreyBitmap(bmp)) depth = 24;
  // Formats without a palette hold one bit as black and white: other colours are
  // dithered, not thresholded.
  if (depth == 1 && !HasPalette(traits) && !IsBlackAndWhite(bmp))
    return DitherToBlackAndWhite(work);
  if (const int rc = ConvertBitmapDepth(work, depth); rc != SUCCESS) return rc;
  // A palette of 2^depth entries, so that the file gets the asked depth, not the
  // smallest its coder could fit the colours into.
  if (depth <= 8 && work.Pixels.colorCount() < (1 << depth)) {
    QList<QRgb> palette = work.Pixels.colorTable();
    palette.resize(1 << depth, qRgb(0, 0, 0));
    work.Pixels.setColorTable(palette);
  }
  return SUCCESS;
}

// The bytes start as the format's files do: a last guard against a file of another
// format carrying the asked name.
bool HasFormat(const QByteArray& bytes, int format) {
  const int expected = format == FILE_JPEG_411 ? FILE_JPEG : format;
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.constData());
  const std::size_t head = std::min<std::size_t>(std::size_t(bytes.size()), kDetectHeadBytes);
  return DetectFormat(data, head, bytes.size(), FormatExtension(format)) == expected;
}

int EncodeToTemporary(const ImageBitmap& bmp, const FormatTraits& traits, int bitsPerPixel,
                      int qualityFactor, const QString& description, AtomicFileWriter& out) {
  if (traits.Writer == Codec::Jpeg) {
    return EncodeJpegFile(out.TemporaryPath(), bmp, traits.Code, bitsPerPixel == 8 ? 8 : 24,
                          qualityFactor, description);
  }
  ImageBitmap work;
  if (const int rc = PrepareDepth(bmp, traits, bitsPerPixel, work); rc != SUCCESS) return rc;
  QByteArray bytes;
  if (traits.Writer == Codec::Magick) {
    Magick::Blob blob;
    if (const int rc = MagickEncodePicture(work, traits, blob); rc != SUCCESS) return rc;
    bytes =
        QByteArray::fromRawData(static_cast<const char*>(blob.data()), qsizetype(blob.length()));
    if (!HasFormat(bytes, traits.Code)) return ERROR_FORMAT_NO_WRITER;
    return out.Write(bytes.constData(), std::size_t(bytes.size()));
  }
  if (const int rc = OwnCodecEncode(work, traits, bytes); rc != SUCCESS) return rc;
  if (!HasFormat(bytes, traits.Code)) return ERROR_FORMAT_NO_WRITER;
  return out.Write(bytes.constData(), std::size_t(bytes.size()));
}

int CheckWritable(const FormatTraits& traits) {
  switch (traits.Writer) {
    case Codec::None:
      return ERROR_FORMAT_NO_WRITER;
    case Codec::Magick:
      return MagickCanWrite(traits.MagickCoder) ? SUCCESS : ERROR_FORMAT_NO_WRITER;
    default:
      return SUCCESS;
  }
}

int Save(const QString& file, const ImageBitmap& bmp, int format, int bitsPerPixel,
         int qualityFactor, int paletteOption, const SaveComments& comments) {
  if (!IsSupportedBits(bitsPerPixel)) return ERROR_BPP_NOT_SUPPORTED;
  if (paletteOption < 0 || paletteOption > 2) return ERROR_INV_PARAMETER;
  if (!bmp.hasPixels()) return ERROR_NO_BITMAP;
  const FormatTraits* traits = FindFormat(format);
  if (traits == nullptr) return ERROR_FORMAT_NOT_SUPPORTED;
  if (traits->Writer == Codec::Jpeg &&
      (qualityFactor < kBestQuality || qualityFactor > kSmallestFile))
    return ERROR_INV_PARAMETER;
  if (const int rc = CheckWritable(*traits); rc != SUCCESS) return rc;
  if (bmp.Pixels.width() > traits->MaxWidth || bmp.Pixels.height() > traits->MaxHeight)
    return ERROR_IMAGE_TOO_LARGE;

  AtomicFileWriter out(file);
  if (const int rc = out.Open(); rc != SUCCESS) return rc;
  const QString description = comments.Get(COMMENT_DESCRIPTION);
  if (const int rc = EncodeToTemporary(bmp, *traits, bitsPerPixel, qualityFactor, description, out);
      rc != SUCCESS)
    return rc;
  if (!description.isEmpty() && ExivCanWriteDescription(format)) {
    if (const int rc = ExivWriteDescription(out.TemporaryPath(), description); rc != SUCCESS)
      return rc;
  }
  return out.Commit();
}
}  // namespace

int SaveImageFile(const QString& file, const ImageBitmap& bmp, int format, int bitsPerPixel,
                  int qualityFactor, const SaveComments& comments) {
  return SaveImageFileAs(file, bmp, format, bitsPerPixel, qualityFactor, 2, comments);
}

int SaveImageFileAs(const QString& file, const ImageBitmap& bmp, int format, int bitsPerPixel,
                    int qualityFactor, int paletteOption, const SaveComments& comments) {
  return NoThrow([&] {
    return Save(file, bmp, format, bitsPerPixel, qualityFactor, paletteOption, comments);
  });
}

int SaveImageFile(const QString& file, const ImageBitmap& bmp, int format, int bitsPerPixel,
                  int qualityFactor) {
  return SaveImageFileAs(file, bmp, format, bitsPerPixel, qualityFactor, 2, SaveCommentTableNow());
}

int SaveImageFileAs(const QString& file, const ImageBitmap& bmp, int format, int bitsPerPixel,
                    int qualityFactor, int paletteOption) {
  return SaveImageFileAs(file, bmp, format, bitsPerPixel, qualityFactor, paletteOption,
                         SaveCommentTableNow());
}
