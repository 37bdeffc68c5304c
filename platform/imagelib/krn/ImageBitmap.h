#pragma once

#include <QImage>
#include <QList>
#include <QPainterPath>
#include <QRgb>
#include <QSize>

// Byte order of a pixel's colour components.
enum class ColorOrder { Bgr = 0, Rgb = 1, Gray = 2 };

// How the stored rows map onto the screen; the values are the EXIF orientation codes.
enum ViewPerspective {
  TopLeft = 1, TopRight = 2, BottomRight = 3, BottomLeft = 4,
  LeftTop = 5, RightTop = 6, RightBottom = 7, LeftBottom = 8,
};

// The imaging library's picture record. It is a value that owns its pixels:
// copying shares them until one side writes, and nothing leaks whatever a caller forgets.
//
// Pixels are kept in a QImage whose format follows BitsPerPixel:
//   1, 4, 8 -> Format_Indexed8 with at most 2, 16 or 256 palette entries;
//   24      -> Format_RGB32 (the fourth byte unused, so painting and codecs need no conversion);
//   32      -> Format_ARGB32.
// Width, Height and BitsPerPixel are set by InitBitmap before any pixels exist; once
// pixels are allocated they always agree with them.
struct ImageBitmap {
  int Width = 0;
  int Height = 0;
  int BitsPerPixel = 0;
  ColorOrder Order = ColorOrder::Bgr;
  ViewPerspective Perspective = TopLeft;
  QImage Pixels;
  QPainterPath Region;  // empty when the bitmap has no region
  int XResolution = 96;
  int YResolution = 96;

  bool hasPixels() const { return !Pixels.isNull(); }
  bool isEmpty() const { return Width <= 0 || Height <= 0; }
  QList<QRgb> palette() const { return Pixels.colorTable(); }
  // The size on screen: width and height exchanged when the perspective turns the
  // picture a quarter (LeftTop and after).
  QSize shownSize() const {
    return Perspective >= LeftTop ? QSize(Height, Width) : QSize(Width, Height);
  }
};

// The QImage format that holds a picture of the given bits per pixel.
QImage::Format ImageFormatForBits(int bitsPerPixel);
// Whether a bits-per-pixel value is one the library supports (1, 4, 8, 24, 32).
bool IsSupportedBits(int bitsPerPixel);
// Puts a QImage (any format) into a bitmap: 24 bits for opaque pictures, 32 with
// transparency, indexed pictures kept as 1, 4 or 8 bits by their palette size.
int SetBitmapImage(ImageBitmap& bmp, QImage image);
// The bitmap's pixels as 32-bit RGB (ARGB32 when it has transparency), shared when possible.
QImage BitmapToRgb32(const ImageBitmap& bmp);
