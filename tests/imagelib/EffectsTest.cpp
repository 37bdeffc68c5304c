#include <climits>

#include <QPainter>

#include <gtest/gtest.h>

#include "efx/ltefx.h"

namespace {
const QRgb kUnder = qRgb(10, 200, 30);
const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kRed = qRgb(200, 0, 0);

ImageBitmap Picture(int width, int height, const QList<QRgb>& colours,
                    QImage::Format format = QImage::Format_RGB32) {
  QImage image(width, height, format);
  for (int i = 0; i < width * height; ++i) image.setPixel(i % width, i / width, colours[i]);
  ImageBitmap bmp;
  SetBitmapImage(bmp, image);
  return bmp;
}

QImage Canvas(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(kUnder);
  return image;
}

int PaintOn(QImage& image, const ImageBitmap& bmp, QRect source, QRect dest, QRect clip,
            QRgb key, RasterOp op = RasterOp::Copy, PaintEffect effect = PaintEffect()) {
  QPainter painter(&image);
  DeviceContext dc(painter, image.size());
  return PaintTransparent(dc, bmp, source, dest, clip, key, op, effect);
}

QRgb At(const QImage& image, int x, int y) { return image.pixel(x, y) | 0xff000000u; }
}  // namespace

TEST(EffectsPaintTransparent, LeavesOnlyTheExactColourTransparentAtEqualSize) {
  const QRgb nearWhite = qRgb(254, 255, 255);
  const ImageBitmap bmp = Picture(4, 1, {kWhite, kRed, nearWhite, kWhite});
  QImage canvas = Canvas(6, 2);
  ASSERT_EQ(PaintOn(canvas, bmp, QRect(), QRect(1, 0, 4, 1), QRect(), kWhite), SUCCESS);
  EXPECT_EQ(At(canvas, 0, 0), kUnder);
  EXPECT_EQ(At(canvas, 1, 0), kUnder);
  EXPECT_EQ(At(canvas, 2, 0), kRed);
  EXPECT_EQ(At(canvas, 3, 0), nearWhite);
  EXPECT_EQ(At(canvas, 4, 0), kUnder);
  EXPECT_EQ(At(canvas, 2, 1), kUnder);
  // The caller's picture is not changed by the keying.
  EXPECT_EQ(bmp.Pixels.pixel(0, 0) | 0xff000000u, kWhite);
  EXPECT_EQ(bmp.BitsPerPixel, 24);

  PaintEffect opaque;
  opaque.transparent = false;
  ASSERT_EQ(PaintOn(canvas, bmp, QRect(), QRect(1, 0, 4, 1), QRect(), kWhite, RasterOp::Copy,
                    opaque),
            SUCCESS);
  EXPECT_EQ(At(canvas, 1, 0), kWhite);
}

TEST(EffectsPaintTransparent, StretchesAndHonoursSourceClipAndPerspective) {
  // Left half black (the frame's hole), right half red; stretched 8 times.
  ImageBitmap bmp = Picture(2, 1, {qRgb(0, 0, 0), kRed});
  QImage canvas = Canvas(16, 8);
  ASSERT_EQ(PaintOn(canvas, bmp, QRect(), QRect(0, 0, 16, 8), QRect(), qRgb(0, 0, 0)), SUCCESS);
  EXPECT_EQ(At(canvas, 2, 4), kUnder);
  EXPECT_EQ(At(canvas, 13, 4), kRed);

  // Only the source's right pixel, clipped to the left half of the destination: nothing.
  canvas = Canvas(16, 8);
  ASSERT_EQ(PaintOn(canvas, bmp, QRect(1, 0, 1, 1), QRect(0, 0, 16, 8), QRect(8, 0, 8, 8),
                    qRgb(0, 0, 0)),
            SUCCESS);
  EXPECT_EQ(At(canvas, 4, 4), kUnder);
  EXPECT_EQ(At(canvas, 12, 4), kRed);

  // Shown mirrored, the hole is on the right.
  bmp.Perspective = TopRight;
  canvas = Canvas(2, 1);
  ASSERT_EQ(PaintOn(canvas, bmp, QRect(), QRect(0, 0, 2, 1), QRect(), qRgb(0, 0, 0)), SUCCESS);
  EXPECT_EQ(At(canvas, 0, 0), kRed);
  EXPECT_EQ(At(canvas, 1, 0), kUnder);
}

TEST(EffectsPaintTransparent, KeysIndexedAndAlphaPictures) {
  QImage indexed(2, 1, QImage::Format_Indexed8);
  indexed.setColorTable({kWhite, kRed});
  indexed.setPixel(0, 0, 0);
  indexed.setPixel(1, 0, 1);
  ImageBitmap bmp;
  ASSERT_EQ(SetBitmapImage(bmp, indexed), SUCCESS);
  ASSERT_LE(bmp.BitsPerPixel, 8);
  QImage canvas = Canvas(2, 1);
  ASSERT_EQ(PaintOn(canvas, bmp, QRect(), QRect(0, 0, 2, 1), QRect(), kWhite), SUCCESS);
  EXPECT_EQ(At(canvas, 0, 0), kUnder);
  EXPECT_EQ(At(canvas, 1, 0), kRed);

  // A 32-bit picture: the key ignores alpha, and a transparent pixel stays transparent.
  const ImageBitmap alpha = Picture(3, 1, {qRgba(255, 255, 255, 128), qRgba(0, 0, 255, 0), kRed},
                                    QImage::Format_ARGB32);
  ASSERT_EQ(alpha.BitsPerPixel, 32);
  canvas = Canvas(3, 1);
  ASSERT_EQ(PaintOn(canvas, alpha, QRect(), QRect(0, 0, 3, 1), QRect(), kWhite), SUCCESS);
  EXPECT_EQ(At(canvas, 0, 0), kUnder);
  EXPECT_EQ(At(canvas, 1, 0), kUnder);
  EXPECT_EQ(At(canvas, 2, 0), kRed);
}

TEST(EffectsPaintTransparent, AndOrLeaveTheKeyedPixelsAlone) {
  const QRgb grey = qRgb(0x55, 0x55, 0x55);
  const ImageBitmap bmp = Picture(2, 1, {grey, qRgb(0x0F, 0xF0, 0xFF)});
  for (const RasterOp op : {RasterOp::And, RasterOp::Or}) {
    QImage canvas = Canvas(2, 1);
    ASSERT_EQ(PaintOn(canvas, bmp, QRect(), QRect(0, 0, 2, 1), QRect(), grey, op), SUCCESS);
    EXPECT_EQ(At(canvas, 0, 0), kUnder);
    const QRgb combined = op == RasterOp::And ? (kUnder & qRgb(0x0F, 0xF0, 0xFF))
                                              : (kUnder | qRgb(0x0F, 0xF0, 0xFF));
    EXPECT_EQ(At(canvas, 1, 0), combined);
  }
}

TEST(EffectsPaintTransparent, AnyRectanglesAreSafe) {
  const ImageBitmap bmp = Picture(2, 2, {kRed, kWhite, kWhite, kRed});
  QImage canvas = Canvas(4, 4);
  EXPECT_EQ(PaintOn(canvas, ImageBitmap(), QRect(), QRect(0, 0, 2, 2), QRect(), kWhite),
            ERROR_NO_BITMAP);
  EXPECT_EQ(PaintOn(canvas, bmp, QRect(), QRect(3, 3, -2, -2), QRect(), kWhite),
            ERROR_INV_PARAMETER);
  EXPECT_EQ(PaintOn(canvas, bmp, QRect(), QRect(INT_MIN, INT_MIN, INT_MAX, INT_MAX), QRect(),
                    kWhite),
            SUCCESS);
  EXPECT_EQ(PaintOn(canvas, bmp, QRect(-100, -100, 5, 5), QRect(-2, -2, 1000000, 1000000),
                    QRect(INT_MAX - 1, 0, 1, 1), kWhite),
            SUCCESS);
  EXPECT_EQ(At(canvas, 0, 0), kUnder);
  // Half off the device: only the part on it is painted, keyed as everywhere.
  EXPECT_EQ(PaintOn(canvas, bmp, QRect(), QRect(3, -1, 2, 2), QRect(), kWhite), SUCCESS);
  EXPECT_EQ(At(canvas, 3, 0), kUnder);
  EXPECT_EQ(PaintOn(canvas, bmp, QRect(), QRect(-1, -1, 2, 2), QRect(), kWhite), SUCCESS);
  EXPECT_EQ(At(canvas, 0, 0), kRed);

  QPainter painter;
  DeviceContext dc(painter, QSize(4, 4));
  EXPECT_EQ(PaintTransparent(dc, bmp, QRect(), QRect(0, 0, 2, 2), QRect(), kWhite),
            ERROR_INV_PARAMETER);
}
