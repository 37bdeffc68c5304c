#pragma once

// The display module (ltdis10n.dll): painting bitmaps onto devices, regions, clipboard.
//
// Coordinates: source rectangles, region rectangles and regions are in the picture's stored
// pixels (those of ImageBitmap::Pixels); painting and outlines show them turned by the
// bitmap's view perspective. Destinations and clips are device pixels: the painter's world
// transform is not applied. Any rectangle is accepted: whatever lies outside the picture
// is neither read nor painted, and nothing is ever written outside the device or picture.

#include <memory>

#include <QRect>

#include "dis/DeviceContext.h"
#include "krn/ltkrn.h"

// Copy lays the picture over what is there (a 32-bit picture's transparency shows what is
// under it); And and Or combine its colour with what is there bit by bit, on every device.
// On a device that cannot be read back (a printer, a PDF writer) they combine with what
// this library painted on the page, over white paper; see DeviceContext::newPage.
enum class RasterOp { Copy, And, Or };

// How a new region combines with the bitmap's existing one; AndNot keeps the existing
// region less the new one.
enum class RegionCombine { Set, And, Or, Xor, AndNot };

// Maps region coordinates (the picture as shown) onto a device: x * xNum / xDen + xOffset.
struct RegionTransform {
  int xNumerator = 1, xDenominator = 1;
  int yNumerator = 1, yDenominator = 1;
  int xOffset = 0, yOffset = 0;
};

// Paints the source rectangle of bmp (a null rect: the whole picture) into the
// destination rectangle, clipped to clip (a null rect: no clip) and to the device,
// combining with what is there by the raster operation. Equal sizes copy pixels exactly;
// different sizes stretch smoothly. A source rectangle reaching outside the picture keeps
// its proportions: only its part inside the picture is painted, where it falls.
// ERROR_INV_PARAMETER for an empty or inverted source or destination, or an inactive
// painter; ERROR_NO_BITMAP when bmp has no pixels.
int PaintBitmap(DeviceContext& dc, const ImageBitmap& bmp, const QRect& source,
                const QRect& destination, const QRect& clip, RasterOp op);
// As PaintBitmap, painting only the pixels inside the bitmap's region (none without one).
int PaintBitmapInRegion(DeviceContext& dc, const ImageBitmap& bmp, const QRect& source,
                        const QRect& destination, const QRect& clip, RasterOp op);
// Everything here is true colour: no palette is ever needed, so this returns none.
void* CreatePaintPalette(DeviceContext& dc, const ImageBitmap& bmp);

// A device context that paints into the bitmap, the picture as shown, at its resolution
// (96 dpi when it records none); null when bmp has no pixels. While it is open the
// painting goes to a 32-bit copy held by the context, never to the bitmap's memory;
// DeleteBitmapDC ends painting, writes the copy back at the bitmap's own depth (indexed
// pictures take their palette's nearest entries) and resets dc.
// Lifetime: the context keeps a reference to the bitmap, used only by DeleteBitmapDC, so
// the bitmap must still exist when DeleteBitmapDC is called. A context destroyed without
// DeleteBitmapDC drops its painting and never touches the bitmap.
std::unique_ptr<DeviceContext> CreateBitmapDC(ImageBitmap& bmp);
// ERROR_INV_PARAMETER when dc is not a bitmap's context (dc is left alone);
// ERROR_FAILURE when the bitmap's size, depth or perspective changed while it was open
// (the painting is then dropped rather than forced into a picture it no longer fits).
int DeleteBitmapDC(std::unique_ptr<DeviceContext>& dc);

// Device bitmaps are QImages in the screen's native premultiplied format
// (Format_ARGB32_Premultiplied), holding the picture as shown; a null image without pixels.
QImage MakeDeviceBitmap(const ImageBitmap& bmp);
// bmp becomes the picture of deviceBitmap: 24 bits, or 32 when it has transparent pixels.
int ConvertFromDeviceBitmap(ImageBitmap& bmp, const QImage& deviceBitmap);

// Puts the picture, as shown, on the clipboard as an image other programs can paste.
// ERROR_NO_CLIPBOARD without a QGuiApplication or away from its thread.
int CopyBitmapToClipboard(const ImageBitmap& bmp);

// Regions are kept inside the picture; setting one needs pixels (ERROR_NO_BITMAP) and a
// rectangle that is not empty or inverted (ERROR_INV_PARAMETER).
bool HasBitmapRegion(const ImageBitmap& bmp);
int FreeBitmapRegion(ImageBitmap& bmp);
int SetRectRegion(ImageBitmap& bmp, const QRect& rect, RegionCombine combine = RegionCombine::Set);
// The ellipse inscribed in rect.
int SetEllipseRegion(ImageBitmap& bmp, const QRect& rect,
                     RegionCombine combine = RegionCombine::Set);
// Every pixel whose red, green and blue each lie between those of lower and upper.
int SetColorRegion(ImageBitmap& bmp, QRgb lower, QRgb upper,
                   RegionCombine combine = RegionCombine::Set);
// A 1-bit mask of the bitmap's size: index 1 (white) inside the region, 0 outside. It has
// the bitmap's attributes, view perspective included, so it lines up when shown.
int MakeRegionMask(const ImageBitmap& bmp, ImageBitmap& mask);
// Draws the region's outline as marching ants, black and white dashes; frameStyle (0..7)
// slides the dashes one pixel a step. ERROR_INV_PARAMETER for a zero denominator or a
// frame style outside 0..7.
int DrawRegionOutline(DeviceContext& dc, const ImageBitmap& bmp, const RegionTransform& transform,
                      int frameStyle);
