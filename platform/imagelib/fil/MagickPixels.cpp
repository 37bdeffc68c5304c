#include "fil/MagickPixels.h"

#include <algorithm>
#include <cmath>

#include "krn/ltkrn.h"

namespace {
// Magick's QuantumRange macro names Quantum unqualified.
using MagickCore::Quantum;
constexpr int kBandRows = 64;
constexpr double kMaxResolution = 100000;

unsigned char ToByte(MagickCore::Quantum q) { return MagickCore::ScaleQuantumToChar(q); }
MagickCore::Quantum ToQuantum(int byte) {
  return MagickCore::Quantum(std::lround(double(byte) * (double(QuantumRange) / 255.0)));
}

bool IsGreySpace(MagickCore::ColorspaceType space) {
  return space == MagickCore::GRAYColorspace || space == MagickCore::Rec601LumaColorspace ||
         space == MagickCore::Rec709LumaColorspace;
}

bool IsRgbSpace(MagickCore::ColorspaceType space) {
  return space == MagickCore::sRGBColorspace || space == MagickCore::RGBColorspace ||
         space == MagickCore::TransparentColorspace || space == MagickCore::UndefinedColorspace;
}

// Null when the palette does not tell the whole story (alpha that differs from its
// palette entry), so the caller falls back to true colour.
QImage IndexedFromMagick(Magick::Image& image, ProgressSpan progress, int& result) {
  const MagickCore::Image* raw = image.constImage();
  const int width = int(image.columns());
  const int height = int(image.rows());
  const int colours = int(raw->colors);
  const bool matte = raw->matte != MagickCore::MagickFalse;
  QList<QRgb> palette(colours);
  for (int i = 0; i < colours; ++i) {
    const MagickCore::PixelPacket& c = raw->colormap[i];
    const int alpha = matte ? 255 - ToByte(c.opacity) : 255;
    palette[i] = qRgba(ToByte(c.red), ToByte(c.green), ToByte(c.blue), alpha);
  }
  QImage out(width, height, QImage::Format_Indexed8);
  if (out.isNull()) {
    result = ERROR_NO_MEMORY;
    return QImage();
  }
  out.setColorTable(palette);
  for (int y = 0; y < height; ++y) {
    if (y % kBandRows == 0 && !ReportProgress(progress.At(y, height))) {
      result = ERROR_USER_ABORT;
      return QImage();
    }
    const MagickCore::PixelPacket* pixels = image.getConstPixels(0, y, size_t(width), 1);
    const MagickCore::IndexPacket* indexes = image.getConstIndexes();
    if (pixels == nullptr || indexes == nullptr) return QImage();
    uchar* row = out.scanLine(y);
    for (int x = 0; x < width; ++x) {
      // A damaged file may carry indices past its palette; never let them through.
      const int index = std::min(int(indexes[x]), colours - 1);
      if (matte && pixels[x].opacity != raw->colormap[index].opacity) return QImage();
      row[x] = uchar(index);
    }
  }
  return out;
}

QImage GreyFromMagick(Magick::Image& image, bool oneBit, ProgressSpan progress, int& result) {
  const int width = int(image.columns());
  const int height = int(image.rows());
  QImage out(width, height, QImage::Format_Indexed8);
  if (out.isNull()) {
    result = ERROR_NO_MEMORY;
    return QImage();
  }
  QList<QRgb> palette;
  if (oneBit) {
    palette = {qRgb(0, 0, 0), qRgb(255, 255, 255)};
  } else {
    for (int i = 0; i < 256; ++i) palette.append(qRgb(i, i, i));
  }
  out.setColorTable(palette);
  for (int y = 0; y < height; ++y) {
    if (y % kBandRows == 0 && !ReportProgress(progress.At(y, height))) {
      result = ERROR_USER_ABORT;
      return QImage();
    }
    uchar* row = out.scanLine(y);
    image.write(0, y, size_t(width), 1, "R", MagickCore::CharPixel, row);
    if (oneBit)
      for (int x = 0; x < width; ++x) row[x] = row[x] >= 128 ? 1 : 0;
  }
  return out;
}

QImage RgbFromMagick(Magick::Image& image, ProgressSpan progress, int& result) {
  const int width = int(image.columns());
  const int height = int(image.rows());
  QImage out(width, height, QImage::Format_ARGB32);
  if (out.isNull()) {
    result = ERROR_NO_MEMORY;
    return QImage();
  }
  const bool matte = image.constImage()->matte != MagickCore::MagickFalse;
  bool translucent = false;
  for (int y = 0; y < height; y += kBandRows) {
    if (!ReportProgress(progress.At(y, height))) {
      result = ERROR_USER_ABORT;
      return QImage();
    }
    const int rows = std::min(kBandRows, height - y);
    // ARGB32 rows are whole 32-bit words, so a band is one contiguous block.
    uchar* band = out.scanLine(y);
    image.write(0, y, size_t(width), size_t(rows), "BGRA", MagickCore::CharPixel, band);
    if (matte && !translucent) {
      const qsizetype bytes = qsizetype(width) * rows * 4;
      for (qsizetype i = 3; i < bytes; i += 4)
        if (band[i] != 255) {
          translucent = true;
          break;
        }
    }
  }
  if (!translucent) out.reinterpretAsFormat(QImage::Format_RGB32);
  return out;
}
}  // namespace

int MagickImageToBitmap(Magick::Image& image, ImageBitmap& bmp, ProgressSpan progress) {
  if (image.columns() == 0 || image.rows() == 0) return ERROR_FILE_CORRUPT;
  if (image.columns() > size_t(INT_MAX / 4) || image.rows() > size_t(INT_MAX))
    return ERROR_IMAGE_TOO_LARGE;
  const MagickCore::ColorspaceType space = image.colorSpace();
  if (!IsRgbSpace(space) && !IsGreySpace(space)) image.colorSpace(MagickCore::sRGBColorspace);
  const MagickCore::Image* raw = image.constImage();

  int result = SUCCESS;
  QImage pixels;
  if (raw->storage_class == MagickCore::PseudoClass && raw->colors > 0 && raw->colors <= 256)
    pixels = IndexedFromMagick(image, progress, result);
  if (pixels.isNull() && result == SUCCESS && IsGreySpace(image.colorSpace()) &&
      raw->matte == MagickCore::MagickFalse)
    pixels = GreyFromMagick(image, raw->depth == 1, progress, result);
  if (pixels.isNull() && result == SUCCESS) pixels = RgbFromMagick(image, progress, result);
  if (result != SUCCESS) return result;
  ImageBitmap out;
  if (const int rc = SetBitmapImage(out, std::move(pixels)); rc != SUCCESS) return rc;
  const bool perCm = image.resolutionUnits() == MagickCore::PixelsPerCentimeterResolution;
  const double x = image.xResolution() * (perCm ? 2.54 : 1.0);
  const double y = image.yResolution() * (perCm ? 2.54 : 1.0);
  // A damaged header may claim anything; only believable resolutions are taken.
  if (x >= 1 && y >= 1 && x <= kMaxResolution && y <= kMaxResolution) {
    out.XResolution = int(std::lround(x));
    out.YResolution = int(std::lround(y));
  }
  bmp = std::move(out);
  return SUCCESS;
}

int MagickPingedBits(const Magick::Image& image) {
  const MagickCore::Image* raw = image.constImage();
  const bool matte = raw->matte != MagickCore::MagickFalse;
  if (raw->storage_class == MagickCore::PseudoClass && raw->colors > 0 && raw->colors <= 256)
    return raw->colors <= 2 ? 1 : raw->colors <= 16 ? 4 : 8;
  if (IsGreySpace(raw->colorspace) && !matte) return raw->depth == 1 ? 1 : 8;
  return matte ? 32 : 24;
}

Magick::Image BitmapToMagickImage(const ImageBitmap& bmp) {
  const QImage& pixels = bmp.Pixels;
  const int width = pixels.width();
  const int height = pixels.height();
  if (pixels.format() != QImage::Format_Indexed8) {
    QImage rgb = BitmapToRgb32(bmp);
    bool translucent = false;
    if (rgb.format() == QImage::Format_ARGB32) {
      for (int y = 0; y < height && !translucent; ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        translucent = std::any_of(row, row + width, [](QRgb c) { return qAlpha(c) != 255; });
      }
    }
    return Magick::Image(size_t(width), size_t(height), translucent ? "BGRA" : "BGRP",
                         MagickCore::CharPixel, rgb.constBits());
  }

  QList<QRgb> palette = pixels.colorTable();
  if (palette.isEmpty()) palette.append(qRgb(0, 0, 0));
  const int colours = int(palette.size());
  const bool translucent =
      std::any_of(palette.begin(), palette.end(), [](QRgb c) { return qAlpha(c) != 255; });
  Magick::Image image(Magick::Geometry(size_t(width), size_t(height)), Magick::Color(0, 0, 0));
  if (translucent) image.matte(true);
  image.modifyImage();
  MagickCore::Image* raw = image.image();
  if (MagickCore::AcquireImageColormap(raw, size_t(colours)) == MagickCore::MagickFalse)
    throw std::bad_alloc();
  for (int i = 0; i < colours; ++i) {
    MagickCore::PixelPacket& c = raw->colormap[i];
    c.red = ToQuantum(qRed(palette[i]));
    c.green = ToQuantum(qGreen(palette[i]));
    c.blue = ToQuantum(qBlue(palette[i]));
    c.opacity = MagickCore::Quantum(QuantumRange - ToQuantum(qAlpha(palette[i])));
  }
  Magick::Pixels view(image);
  for (int y = 0; y < height; ++y) {
    MagickCore::PixelPacket* out = view.get(0, y, size_t(width), 1);
    MagickCore::IndexPacket* indexes = view.indexes();
    const uchar* row = pixels.constScanLine(y);
    for (int x = 0; x < width; ++x) {
      const int index = std::min(int(row[x]), colours - 1);
      indexes[x] = MagickCore::IndexPacket(index);
      out[x] = raw->colormap[index];
    }
    view.sync();
  }
  return image;
}
