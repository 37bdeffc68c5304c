#include "fil/MagickEncoder.h"

#include <algorithm>

#include "fil/FileFormats.h"
#include "fil/MagickPixels.h"
#include "fil/MagickProgress.h"
#include "fil/MagickRuntime.h"
#include "krn/ResultCodes.h"

namespace {
const char* CoderFor(const FormatTraits& traits, const ImageBitmap& bmp) {
  // The plain version 3 header every BMP reader knows, unless alpha needs the newer one.
  if (traits.Code == FILE_BMP && bmp.BitsPerPixel != 32) return "BMP3";
  // Named true-colour PNG spares Magick counting the colours of every pixel.
  if (traits.Code == FILE_PNG && bmp.BitsPerPixel >= 24)
    return bmp.BitsPerPixel == 32 ? "PNG32" : "PNG24";
  return traits.MagickCoder;
}

bool IsBlackAndWhitePalette(const ImageBitmap& bmp) {
  const QList<QRgb> palette = bmp.Pixels.colorTable();
  return bmp.Pixels.format() == QImage::Format_Indexed8 && palette.size() == 2 &&
         palette[0] == qRgb(0, 0, 0) && palette[1] == qRgb(255, 255, 255);
}

// Magick writes cursors with an icon's header. A cursor's type is 2, and its directory
// holds the hot spot (here the top-left corner) where an icon's holds planes and depth.
void MarkAsCursor(Magick::Blob& blob) {
  auto* bytes = static_cast<unsigned char*>(const_cast<void*>(blob.data()));
  const std::size_t size = blob.length();
  if (size < 6 || bytes[0] != 0 || bytes[1] != 0 || bytes[2] != 1 || bytes[3] != 0) return;
  bytes[2] = 2;
  const std::size_t count = std::size_t(bytes[4] | bytes[5] << 8);
  for (std::size_t i = 0; i < count && 6 + 16 * (i + 1) <= size; ++i)
    std::fill_n(bytes + 6 + 16 * i + 4, 4, 0);
}

void SetFormatOptions(Magick::Image& image, const FormatTraits& traits, const ImageBitmap& bmp) {
  switch (traits.Code) {
    case FILE_PNG:
      // Magick would add the background colour to a palette and stamp the time.
      image.defineValue("png", "exclude-chunks", "bKGD,date,tIME");
      break;
    case FILE_TIF:
      image.defineValue("tiff", "alpha", "unassociated");
      break;
    case FILE_PSD:
      // Magick cannot read back the indexed PSD it writes: grey goes as grey.
      if (bmp.Pixels.format() == QImage::Format_Indexed8) {
        image.classType(MagickCore::DirectClass);
        image.type(MagickCore::GrayscaleType);
      }
      break;
    default:
      break;
  }
}
}  // namespace

int MagickEncodePicture(const ImageBitmap& bmp, const FormatTraits& traits, Magick::Blob& blob) {
  const char* coder = CoderFor(traits, bmp);
  if (!MagickCanWrite(coder)) return ERROR_FORMAT_NO_WRITER;
  try {
    Magick::Image image = BitmapToMagickImage(bmp);
    // Coders write black and white as one bit per pixel only when told the depth is 1.
    image.depth(IsBlackAndWhitePalette(bmp) ? 1 : 8);
    if (bmp.XResolution > 0 && bmp.YResolution > 0) {
      image.resolutionUnits(MagickCore::PixelsPerInchResolution);
      image.density(Magick::Geometry(size_t(bmp.XResolution), size_t(bmp.YResolution)));
    }
    SetFormatOptions(image, traits, bmp);
    // Without naming the coder, Magick writes the image's own format under any name.
    image.magick(coder);
    MagickProgress progress({0, 100});
    progress.Watch(image);
    int written = SUCCESS;
    try {
      image.write(&blob, coder);
    } catch (const Magick::Warning&) {
      // Remarks of the coder; the bytes are complete.
    } catch (...) {
      written = MagickErrorResult(std::current_exception(), true);
    }
    // A coder told to stop may fail or may stop quietly; either way it was the user.
    if (progress.Stopped()) return ERROR_USER_ABORT;
    if (written != SUCCESS) return written;
    if (blob.length() == 0) return ERROR_FAILURE;
    if (traits.Code == FILE_CUR) MarkAsCursor(blob);
    return SUCCESS;
  } catch (...) {
    return MagickErrorResult(std::current_exception(), true);
  }
}
