#pragma once

// The display module (ltdis10n.dll): painting bitmaps onto devices, regions, clipboard.

#include <memory>

#include <QRect>

#include "dis/DeviceContext.h"
#include "krn/ltkrn.h"

enum class RasterOp { Copy, And, Or };

// How a new region combines with the bitmap's existing one.
enum class RegionCombine { Set, And, Or, Xor, AndNot };

// Maps region coordinates (picture pixels) onto a device: x * xNum / xDen + xOffset.
struct RegionTransform {
  int xNumerator = 1, xDenominator = 1;
  int yNumerator = 1, yDenominator = 1;
  int xOffset = 0, yOffset = 0;
};

// Paints the source rectangle of bmp (a null rect: the whole picture) into the
// destination rectangle (stretched when the sizes differ), clipped to clip (a null rect:
// no clip), combining with what is there by the raster operation.
int PaintBitmap(DeviceContext& dc, const ImageBitmap& bmp, const QRect& source,
                const QRect& destination, const QRect& clip, RasterOp op);
// As PaintBitmap, painting only the pixels inside the bitmap's region.
int PaintBitmapInRegion(DeviceContext& dc, const ImageBitmap& bmp, const QRect& source,
                        const QRect& destination, const QRect& clip, RasterOp op);
// Everything here is true colour: no palette is ever needed, so this returns none.
void* CreatePaintPalette(DeviceContext& dc, const ImageBitmap& bmp);

// A device context that paints into the bitmap. While it is open the bitmap's pixels are
// held as 32-bit; DeleteBitmapDC writes them back at the bitmap's own depth.
std::unique_ptr<DeviceContext> CreateBitmapDC(ImageBitmap& bmp);
int DeleteBitmapDC(std::unique_ptr<DeviceContext>& dc);

// Device bitmaps are QImages in the screen's native premultiplied format.
QImage MakeDeviceBitmap(const ImageBitmap& bmp);
int ConvertFromDeviceBitmap(ImageBitmap& bmp, const QImage& deviceBitmap);

// Puts the picture on the clipboard as an image other programs can paste.
int CopyBitmapToClipboard(const ImageBitmap& bmp);

bool HasBitmapRegion(const ImageBitmap& bmp);
int FreeBitmapRegion(ImageBitmap& bmp);
int SetRectRegion(ImageBitmap& bmp, const QRect& rect, RegionCombine combine = RegionCombine::Set);
// The ellipse inscribed in rect.
int SetEllipseRegion(ImageBitmap& bmp, const QRect& rect,
                     RegionCombine combine = RegionCombine::Set);
// Every pixel whose red, green and blue each lie between those of lower and upper.
int SetColorRegion(ImageBitmap& bmp, QRgb lower, QRgb upper,
                   RegionCombine combine = RegionCombine::Set);
// A 1-bit mask of the bitmap's size: index 1 (white) inside the region, 0 outside.
int MakeRegionMask(const ImageBitmap& bmp, ImageBitmap& mask);
// Draws the region's outline as a moving dashed frame; frameStyle (0..7) shifts the dashes.
int DrawRegionOutline(DeviceContext& dc, const ImageBitmap& bmp, const RegionTransform& transform,
                      int frameStyle);
