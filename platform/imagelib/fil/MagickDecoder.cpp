#include "fil/MagickDecoder.h"

#include <algorithm>
#include <climits>

#include "fil/BitmapDepth.h"
#include "fil/DeclaredPicture.h"
#include "fil/DeclaredSize.h"
#include "fil/FileFormats.h"
#include "fil/MagickPixels.h"
#include "fil/MagickReader.h"
#include "fil/MagickRuntime.h"
#include "fil/PcxHeader.h"
#include "fil/TiffHeader.h"
#include "krn/PictureLimits.h"

namespace {
// Decoding is most of the work; moving the pixels into the bitmap the rest.
constexpr ProgressSpan kReadingSpan{0, 80};
constexpr ProgressSpan kConvertingSpan{80, 100};

bool IsIcon(const FormatTraits& traits) {
  return traits.Code == FILE_ICO || traits.Code == FILE_CUR;
}

bool SwapsSides(int orientation) { return orientation >= 5 && orientation <= 8; }

int BitsForColours(std::size_t colours) { return colours <= 2 ? 1 : colours <= 16 ? 4 : 8; }

int ClampedSide(qint64 side) { return int(std::clamp<qint64>(side, 0, INT_MAX)); }

int SizeOfPinged(const Magick::Image& image, qint64& width, qint64& height) {
  try {
    width = qint64(image.columns());
    height = qint64(image.rows());
    return SUCCESS;
  } catch (...) {
    return MagickErrorResult(std::current_exception(), false);
  }
}

// Everything that can be told before the pixels are decoded: whether the file holds the
// data its header declares, and whether that data can hold the picture it declares
// within the library's limits. Formats whose headers are not read here are asked of
// Magick's header reading (ping), except icons, which hold small bitmaps by rule.
int CheckBeforeDecoding(const FileBuffer& content, const FormatTraits& traits) {
  if (const int rc = CheckDeclaredSize(traits.Code, content.begin(), content.Size); rc != SUCCESS)
    return rc;
  const DeclaredPicture declared = ReadDeclaredPicture(traits.Code, content.begin(), content.Size);
  if (declared.Known || IsIcon(traits)) return CheckDeclaredPicture(declared);
  Magick::Image image;
  qint64 width = 0, height = 0;
  if (const int rc = MagickReadBlob(content.begin(), content.Size, traits.MagickCoder, true,
                                    MagickFrame::First, image);
      rc != SUCCESS)
    return rc;
  if (const int rc = SizeOfPinged(image, width, height); rc != SUCCESS) return rc;
  return CheckPictureSize(width, height, qint64(content.Size), false);
}
}  // namespace

int MagickDecodePicture(const FileBuffer& content, const FormatTraits& traits, ImageBitmap& bmp) {
  const bool tiff = traits.Code == FILE_TIF;
  if (const int rc = CheckBeforeDecoding(content, traits); rc != SUCCESS) return rc;
  Magick::Image image;
  const MagickFrame frame = IsIcon(traits) ? MagickFrame::Largest : MagickFrame::First;
  if (const int rc = MagickReadBlob(content.begin(), content.Size, traits.MagickCoder, false, frame,
                                    image, kReadingSpan);
      rc != SUCCESS)
    return rc;
  ImageBitmap out;
  std::size_t declaredColours = 0;
  try {
    // Only TIFF's orientation says how to turn the picture; other coders (TGA) report
    // the order rows were stored in, which they have already undone.
    const int orientation = tiff ? int(image.orientation()) : 1;
    if (orientation >= 2 && orientation <= 8) image.autoOrient();
    declaredColours = image.constImage()->colors;
    if (const int rc = MagickImageToBitmap(image, out, kConvertingSpan); rc != SUCCESS) return rc;
  } catch (...) {
    return MagickErrorResult(std::current_exception(), false);
  }
  // Magick gives icons as true colour with a mask; an opaque palette icon stays indexed.
  if (IsIcon(traits) && out.BitsPerPixel == 24 && declaredColours > 0 && declaredColours <= 256) {
    ImageBitmap indexed = out;
    if (ConvertBitmapDepthExactly(indexed, BitsForColours(declaredColours)))
      out = std::move(indexed);
  }
  // Magick gives one-bit TIFF as grey; it is black and white.
  if (tiff && out.BitsPerPixel == 8 && ReadTiffHeader(content.begin(), content.Size).BlackAndWhite)
    ConvertBitmapDepthExactly(out, 1);
  out.Perspective = TopLeft;
  bmp = std::move(out);
  return SUCCESS;
}

int MagickReadPictureInfo(const FileBuffer& content, const FormatTraits& traits, FileInfo& info) {
  if (IsIcon(traits)) {
    ImageBitmap icon;
    if (const int rc = MagickDecodePicture(content, traits, icon); rc != SUCCESS) {
      const DeclaredPicture declared =
          ReadDeclaredPicture(traits.Code, content.begin(), content.Size);
      info.Width = ClampedSide(declared.Width);
      info.Height = ClampedSide(declared.Height);
      return rc;
    }
    info.Width = icon.Width;
    info.Height = icon.Height;
    info.BitsPerPixel = icon.BitsPerPixel;
    return SUCCESS;
  }
  if (const int rc = CheckDeclaredSize(traits.Code, content.begin(), content.Size); rc != SUCCESS)
    return rc;
  qint64 declaredWidth = 0, declaredHeight = 0;
  const DeclaredPicture declared = ReadDeclaredPicture(traits.Code, content.begin(), content.Size);
  if (declared.Known) {
    declaredWidth = declared.Width;
    declaredHeight = declared.Height;
  }
  int rc = CheckDeclaredPicture(declared);
  Magick::Image image;
  if (rc == SUCCESS)
    rc = MagickReadBlob(content.begin(), content.Size, traits.MagickCoder, true, MagickFrame::First,
                        image);
  if (rc == SUCCESS && !declared.Known) {
    rc = SizeOfPinged(image, declaredWidth, declaredHeight);
    if (rc == SUCCESS)
      rc = CheckPictureSize(declaredWidth, declaredHeight, qint64(content.Size), false);
  }
  if (rc != SUCCESS) {
    info.Width = ClampedSide(declaredWidth);
    info.Height = ClampedSide(declaredHeight);
    return rc;
  }
  int orientation = 1;
  int bits = 0;
  try {
    bits = MagickPingedBits(image);
  } catch (...) {
    return MagickErrorResult(std::current_exception(), false);
  }
  // Magick's TIFF header reading leaves out alpha and black and white.
  if (traits.Code == FILE_TIF) {
    const TiffHeaderFacts facts = ReadTiffHeader(content.begin(), content.Size);
    if (facts.Valid) {
      if (facts.HasAlpha && bits >= 8) bits = 32;
      if (facts.BlackAndWhite) bits = 1;
      orientation = facts.Orientation;
    }
  }
  if (traits.Code == FILE_PCX) {
    if (const int pcxBits = PcxHeaderBits(content.begin(), content.Size); pcxBits != 0)
      bits = pcxBits;
  }
  const int width = int(image.columns());
  const int height = int(image.rows());
  info.Width = SwapsSides(orientation) ? height : width;
  info.Height = SwapsSides(orientation) ? width : height;
  info.BitsPerPixel = bits;
  return SUCCESS;
}
