#pragma once

// The kernel module (ltkrn10n.dll): bitmaps, bitmap lists and the progress callback.

#include <functional>
#include <QRect>

#include "krn/ImageBitmap.h"
#include "krn/ResultCodes.h"

// Sets the record's size and depth and drops any pixels, palette and region;
// InitBitmap(bmp, 0, 0, 0) makes an empty bitmap.
int InitBitmap(ImageBitmap& bmp, int width, int height, int bitsPerPixel);
// Releases the pixels and region; the size stays recorded.
int FreeBitmap(ImageBitmap& bmp);
// Allocates black pixels of the recorded size and depth (a grey ramp palette for 8 bits).
int AllocateBitmapPixels(ImageBitmap& bmp);
// InitBitmap + attributes + AllocateBitmapPixels. memoryType must be 1 (conventional memory).
int CreateBitmap(ImageBitmap& bmp, int memoryType, int width, int height, int bitsPerPixel,
                 ColorOrder order, const void* data, ViewPerspective perspective);
// dst becomes a copy of src (pixels, palette, region, attributes).
int CopyBitmap(ImageBitmap& dst, const ImageBitmap& src);
// Copies order, view perspective and resolution, not the pixels.
int CopyBitmapAttributes(ImageBitmap& dst, const ImageBitmap& src);
// Gives dst the palette of src (both must be indexed); nothing to do for true colour.
int DuplicatePalette(ImageBitmap& dst, const ImageBitmap& src);
// Resamples in place: area averaging when shrinking, bicubic when enlarging.
int ResizeBitmap(ImageBitmap& bmp, int width, int height);
// Fills every pixel with the colour (the nearest palette entry for indexed bitmaps).
int FillBitmap(ImageBitmap& bmp, QRgb colour);
// Converts to grey; bitsPerPixel must be 8 (a 256-entry grey palette).
int ApplyGrayScale(ImageBitmap& bmp, int bitsPerPixel);
// Rotates clockwise by whole degrees. flags 1 grows the canvas to hold the whole picture,
// 0 keeps the size and cuts the corners; uncovered pixels take fillColour.
int RotateBitmap(ImageBitmap& bmp, int degrees, int flags, QRgb fillColour = qRgb(255, 255, 255));
// Shrinks rect to the largest rectangle of the bitmap's proportions, centred inside it.
int FitRectToBitmap(const ImageBitmap& bmp, QRect& rect);
// Copies src onto dst with its top-left corner at (x, y); what falls outside dst is cut off.
int CopyBitmapArea(ImageBitmap& dst, int x, int y, const ImageBitmap& src);

// A list that owns the bitmaps put in it.
struct BitmapList {
  QList<ImageBitmap> Items;
};
int BitmapListCreate(BitmapList& list);
// Moves the entry at index out of the list into bmp.
int BitmapListTake(BitmapList& list, int index, ImageBitmap& bmp);
// Inserts a copy of bmp before index (index == count appends).
int BitmapListInsert(BitmapList& list, int index, const ImageBitmap& bmp);
// Deletes count entries from index.
int BitmapListDelete(BitmapList& list, int index, int count);
int BitmapListCount(const BitmapList& list);

// Called with the percentage done during long operations; return 1 to go on, anything
// else to stop (the operation then fails with ERROR_USER_ABORT). The callback belongs
// to the calling thread, so a worker's decoding never reports to the interface.
using ProgressCallback = std::function<int(int percent)>;
// Installs the callback (an empty one removes it) and returns the previous one.
ProgressCallback SetProgressCallback(ProgressCallback callback);
// For the library's own long loops: reports progress; false means stop.
bool ReportProgress(int percent);
