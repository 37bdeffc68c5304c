#include <climits>

#include <gtest/gtest.h>

#include "krn/ltkrn.h"

namespace {
ImageBitmap MakeBitmap(int width, int height, int bits = 24, QRgb colour = qRgb(0, 0, 0)) {
  ImageBitmap bmp;
  EXPECT_EQ(CreateBitmap(bmp, 1, width, height, bits, ColorOrder::Bgr, nullptr, TopLeft), SUCCESS);
  FillBitmap(bmp, colour);
  return bmp;
}

QRgb PixelAt(const ImageBitmap& bmp, int x, int y) { return bmp.Pixels.pixel(x, y); }
}  // namespace

TEST(Kernel, InitAndCreateRejectBadArguments) {
  ImageBitmap bmp;
  EXPECT_EQ(InitBitmap(bmp, 0, 0, 0), SUCCESS);
  EXPECT_TRUE(bmp.isEmpty());
  EXPECT_EQ(InitBitmap(bmp, -1, 5, 24), ERROR_INV_PARAMETER);
  EXPECT_EQ(InitBitmap(bmp, 5, 5, 7), ERROR_BPP_NOT_SUPPORTED);
  EXPECT_EQ(CreateBitmap(bmp, 1, 0, 5, 24, ColorOrder::Bgr, nullptr, TopLeft), ERROR_INV_PARAMETER);
  EXPECT_EQ(AllocateBitmapPixels(bmp), ERROR_INV_PARAMETER);
  EXPECT_EQ(ResizeBitmap(bmp, 10, 10), ERROR_NO_BITMAP);
  EXPECT_EQ(FillBitmap(bmp, qRgb(1, 2, 3)), ERROR_NO_BITMAP);
}

TEST(Kernel, EveryDepthAllocatesAndFills) {
  for (int bits : {1, 4, 8, 24, 32}) {
    ImageBitmap bmp = MakeBitmap(7, 3, bits, qRgb(255, 255, 255));
    EXPECT_EQ(bmp.BitsPerPixel, bits);
    EXPECT_EQ(bmp.Pixels.size(), QSize(7, 3));
    EXPECT_EQ(qRed(PixelAt(bmp, 6, 2)), 255) << bits;
    if (bits <= 8) {
      EXPECT_LE(bmp.Pixels.colorCount(), 1 << bits);
    }
  }
}

TEST(Kernel, CopyIsIndependentOfTheOriginal) {
  ImageBitmap a = MakeBitmap(4, 4, 24, qRgb(10, 20, 30));
  ImageBitmap b;
  CopyBitmap(b, a);
  FillBitmap(b, qRgb(200, 0, 0));
  EXPECT_EQ(PixelAt(a, 0, 0), qRgb(10, 20, 30));
  EXPECT_EQ(PixelAt(b, 0, 0), qRgb(200, 0, 0));
}

TEST(Kernel, ShrinkingAveragesFineStripesInsteadOfAliasing) {
  // One-pixel black and white columns: any point sampling shows stripes or a flat
  // black or white; area averaging gives an even mid grey.
  ImageBitmap bmp = MakeBitmap(6000, 4000);
  for (int y = 0; y < bmp.Height; ++y) {
    QRgb* row = reinterpret_cast<QRgb*>(bmp.Pixels.scanLine(y));
    for (int x = 0; x < bmp.Width; ++x) row[x] = (x % 2) ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
  }
  ASSERT_EQ(ResizeBitmap(bmp, 100, 66), SUCCESS);
  EXPECT_EQ(bmp.Width, 100);
  EXPECT_EQ(bmp.Height, 66);
  for (int y = 0; y < 66; y += 5)
    for (int x = 0; x < 100; x += 7) EXPECT_NEAR(qGray(PixelAt(bmp, x, y)), 128, 2);
}

TEST(Kernel, ResizeKeepsEdgesAndFlatColours) {
  ImageBitmap bmp = MakeBitmap(300, 200, 24, qRgb(40, 80, 120));
  ASSERT_EQ(ResizeBitmap(bmp, 1000, 7), SUCCESS);
  EXPECT_EQ(PixelAt(bmp, 0, 0), qRgb(40, 80, 120));
  EXPECT_EQ(PixelAt(bmp, 999, 6), qRgb(40, 80, 120));

  ImageBitmap indexed = MakeBitmap(64, 64, 4, qRgb(255, 255, 255));
  ASSERT_EQ(ResizeBitmap(indexed, 10, 10), SUCCESS);
  EXPECT_EQ(indexed.BitsPerPixel, 4);
  EXPECT_EQ(indexed.Pixels.format(), QImage::Format_Indexed8);
}

TEST(Kernel, EnlargingInterpolatesSmoothlyAtEveryDepthAndSize) {
  // A black-to-white step doubled: nearest neighbour would give only black and white; the
  // cubic gives a ramp, with at most a slight overshoot kept within the channel.
  ImageBitmap step = MakeBitmap(8, 1);
  for (int x = 4; x < 8; ++x) step.Pixels.setPixel(x, 0, qRgb(255, 255, 255));
  ASSERT_EQ(ResizeBitmap(step, 16, 1), SUCCESS);
  int between = 0;
  for (int x = 0; x < 16; ++x) between += qGray(PixelAt(step, x, 0)) > 10 && qGray(PixelAt(step, x, 0)) < 245;
  EXPECT_GE(between, 2);
  EXPECT_EQ(PixelAt(step, 0, 0), qRgb(0, 0, 0));
  EXPECT_EQ(PixelAt(step, 15, 0), qRgb(255, 255, 255));

  // Every depth keeps its depth and a flat colour, both ways.
  for (int bits : {1, 4, 8, 24, 32}) {
    ImageBitmap bmp = MakeBitmap(30, 20, bits, qRgb(255, 255, 255));
    ASSERT_EQ(ResizeBitmap(bmp, 75, 50), SUCCESS) << bits;
    ASSERT_EQ(ResizeBitmap(bmp, 7, 3), SUCCESS) << bits;
    EXPECT_EQ(bmp.BitsPerPixel, bits);
    EXPECT_EQ(bmp.Pixels.size(), QSize(7, 3)) << bits;
    EXPECT_EQ(PixelAt(bmp, 3, 1) | 0xff000000u, qRgb(255, 255, 255)) << bits;
  }
  // Half-transparent red stays that, however it is resampled.
  ImageBitmap glass = MakeBitmap(10, 10, 32);
  glass.Pixels.fill(qRgba(255, 0, 0, 128));
  ASSERT_EQ(ResizeBitmap(glass, 33, 27), SUCCESS);
  EXPECT_EQ(qAlpha(PixelAt(glass, 16, 13)), 128);
  EXPECT_NEAR(qRed(PixelAt(glass, 16, 13)), 255, 2);

  // The extremes: one pixel to a page, a thread of 10000 to a bar, and back.
  ImageBitmap dot = MakeBitmap(1, 1, 24, qRgb(10, 200, 30));
  ASSERT_EQ(ResizeBitmap(dot, 800, 600), SUCCESS);
  EXPECT_EQ(PixelAt(dot, 799, 599), qRgb(10, 200, 30));
  ImageBitmap thread = MakeBitmap(1, 10000, 24, qRgb(90, 90, 90));
  ASSERT_EQ(ResizeBitmap(thread, 10, 1), SUCCESS);
  EXPECT_EQ(PixelAt(thread, 9, 0), qRgb(90, 90, 90));
  ASSERT_EQ(ResizeBitmap(thread, 1, 10000), SUCCESS);
  EXPECT_EQ(PixelAt(thread, 0, 9999), qRgb(90, 90, 90));
  // No size beyond the library's limits is ever made.
  EXPECT_EQ(ResizeBitmap(thread, 300000, 1), ERROR_IMAGE_TOO_LARGE);
  EXPECT_EQ(ResizeBitmap(thread, 0, 5), ERROR_INV_PARAMETER);
  EXPECT_EQ(thread.Pixels.size(), QSize(1, 10000));
}

TEST(Kernel, ProgressCallbackCanStopAResize) {
  ImageBitmap bmp = MakeBitmap(400, 400);
  int calls = 0;
  // Stopped at the first report: however the bands fall between threads, there is one.
  ProgressCallback previous = SetProgressCallback([&](int) {
    ++calls;
    return 0;
  });
  EXPECT_EQ(ResizeBitmap(bmp, 50, 50), ERROR_USER_ABORT);
  EXPECT_GE(calls, 1);
  EXPECT_EQ(bmp.Width, 400);  // untouched
  SetProgressCallback(previous);
  EXPECT_EQ(ResizeBitmap(bmp, 50, 50), SUCCESS);
}

TEST(Kernel, RotateRightAnglesExactlyAndOthersGrow) {
  ImageBitmap bmp = MakeBitmap(4, 2);
  bmp.Pixels.setPixel(0, 0, qRgb(255, 0, 0));
  ASSERT_EQ(RotateBitmap(bmp, 90, 1), SUCCESS);
  EXPECT_EQ(bmp.Width, 2);
  EXPECT_EQ(bmp.Height, 4);
  EXPECT_EQ(PixelAt(bmp, 1, 0), qRgb(255, 0, 0));  // clockwise: top-left goes top-right
  ASSERT_EQ(RotateBitmap(bmp, 180, 1), SUCCESS);
  EXPECT_EQ(PixelAt(bmp, 0, 3), qRgb(255, 0, 0));

  ImageBitmap square = MakeBitmap(100, 100);
  ASSERT_EQ(RotateBitmap(square, 45, 1, qRgb(255, 255, 255)), SUCCESS);
  EXPECT_NEAR(square.Width, 142, 1);
  EXPECT_EQ(PixelAt(square, 0, 0), qRgb(255, 255, 255));
  ImageBitmap kept = MakeBitmap(100, 60);
  ASSERT_EQ(RotateBitmap(kept, 30, 0), SUCCESS);
  EXPECT_EQ(kept.Pixels.size(), QSize(100, 60));

  // Clockwise at any angle: a red top-left quarter turned by 45 degrees points up.
  ImageBitmap quarter = MakeBitmap(100, 100, 24, qRgb(0, 0, 200));
  for (int y = 0; y < 50; ++y)
    for (int x = 0; x < 50; ++x) quarter.Pixels.setPixel(x, y, qRgb(255, 0, 0));
  ImageBitmap turned = quarter;
  ASSERT_EQ(RotateBitmap(turned, 45, 1, qRgb(255, 255, 255)), SUCCESS);
  EXPECT_EQ(PixelAt(turned, turned.Width / 2, 20), qRgb(255, 0, 0));
  EXPECT_EQ(PixelAt(turned, turned.Width / 2, turned.Height - 20), qRgb(0, 0, 200));
  EXPECT_EQ(PixelAt(turned, 3, 3), qRgb(255, 255, 255));
  // A stop asked for leaves the picture as it was.
  const ProgressCallback previous = SetProgressCallback([](int) { return 0; });
  EXPECT_EQ(RotateBitmap(quarter, 30, 1), ERROR_USER_ABORT);
  SetProgressCallback(previous);
  EXPECT_EQ(quarter.Pixels.size(), QSize(100, 100));
}

TEST(Kernel, GreyScaleGivesAnEightBitGreyRamp) {
  ImageBitmap bmp = MakeBitmap(3, 3, 24, qRgb(255, 0, 0));
  ASSERT_EQ(ApplyGrayScale(bmp, 8), SUCCESS);
  EXPECT_EQ(bmp.BitsPerPixel, 8);
  const QRgb grey = PixelAt(bmp, 1, 1);
  EXPECT_EQ(qRed(grey), qGreen(grey));
  EXPECT_NEAR(qRed(grey), 76, 1);
  EXPECT_EQ(ApplyGrayScale(bmp, 4), ERROR_BPP_NOT_SUPPORTED);
}

TEST(Kernel, FitRectKeepsProportionsAndCentres) {
  ImageBitmap wide = MakeBitmap(400, 200);
  QRect rect(10, 10, 100, 100);
  ASSERT_EQ(FitRectToBitmap(wide, rect), SUCCESS);
  EXPECT_EQ(rect, QRect(10, 35, 100, 50));
  ImageBitmap tall = MakeBitmap(100, 300);
  rect = QRect(0, 0, 90, 90);
  ASSERT_EQ(FitRectToBitmap(tall, rect), SUCCESS);
  EXPECT_EQ(rect, QRect(30, 0, 30, 90));
  // A wide picture shown a quarter turned fits as the tall picture it looks like.
  wide.Perspective = RightTop;
  EXPECT_EQ(wide.shownSize(), QSize(200, 400));
  rect = QRect(0, 0, 100, 100);
  ASSERT_EQ(FitRectToBitmap(wide, rect), SUCCESS);
  EXPECT_EQ(rect, QRect(25, 0, 50, 100));
}

TEST(Kernel, CopyAreaNeverWritesOutsideTheTarget) {
  ImageBitmap target = MakeBitmap(10, 10, 24, qRgb(0, 0, 0));
  const ImageBitmap patch = MakeBitmap(4, 4, 24, qRgb(255, 255, 255));
  EXPECT_EQ(CopyBitmapArea(target, 8, -2, patch), SUCCESS);
  EXPECT_EQ(PixelAt(target, 9, 0), qRgb(255, 255, 255));
  EXPECT_EQ(PixelAt(target, 9, 2), qRgb(0, 0, 0));
  EXPECT_EQ(PixelAt(target, 7, 0), qRgb(0, 0, 0));
  for (auto [x, y] : {std::pair{INT_MAX, 0}, {INT_MIN, INT_MIN}, {-3, INT_MAX}, {INT_MAX - 1, -1}})
    EXPECT_EQ(CopyBitmapArea(target, x, y, patch), SUCCESS);

  ImageBitmap indexed = MakeBitmap(10, 10, 8, qRgb(0, 0, 0));
  EXPECT_EQ(CopyBitmapArea(indexed, 0, 0, patch), SUCCESS);
  EXPECT_EQ(PixelAt(indexed, 3, 3), qRgb(255, 255, 255));
  EXPECT_EQ(indexed.BitsPerPixel, 8);
}

TEST(Kernel, BitmapListOwnsAndBoundsItsEntries) {
  BitmapList list;
  BitmapListCreate(list);
  EXPECT_EQ(BitmapListInsert(list, 0, MakeBitmap(2, 2)), SUCCESS);
  EXPECT_EQ(BitmapListInsert(list, 1, MakeBitmap(3, 3)), SUCCESS);
  EXPECT_EQ(BitmapListInsert(list, 5, MakeBitmap(3, 3)), ERROR_INV_PARAMETER);
  EXPECT_EQ(BitmapListCount(list), 2);
  ImageBitmap taken;
  EXPECT_EQ(BitmapListTake(list, 1, taken), SUCCESS);
  EXPECT_EQ(taken.Width, 3);
  EXPECT_EQ(BitmapListTake(list, 1, taken), ERROR_INV_PARAMETER);
  EXPECT_EQ(BitmapListDelete(list, 0, 2), ERROR_INV_PARAMETER);
  EXPECT_EQ(BitmapListDelete(list, 0, 1), SUCCESS);
  EXPECT_EQ(BitmapListCount(list), 0);
}

TEST(Kernel, ResultCodesHaveNames) {
  EXPECT_STREQ(ResultName(ERROR_FORMAT_NO_WRITER), "ERROR_FORMAT_NO_WRITER");
  EXPECT_STREQ(ResultName(12345), "UNKNOWN_RESULT");
}
