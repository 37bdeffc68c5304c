#include <climits>

#include <QPainter>

#include <gtest/gtest.h>

#include "dis/ltdis.h"

namespace {
ImageBitmap Blank(int width, int height) {
  ImageBitmap bmp;
  EXPECT_EQ(CreateBitmap(bmp, 1, width, height, 24, ColorOrder::Bgr, nullptr, TopLeft), SUCCESS);
  return bmp;
}

// The region's pixels as a string of rows, '#' inside.
std::string Inside(const ImageBitmap& bmp) {
  ImageBitmap mask;
  EXPECT_EQ(MakeRegionMask(bmp, mask), SUCCESS);
  std::string rows;
  for (int y = 0; y < mask.Height; ++y) {
    for (int x = 0; x < mask.Width; ++x) rows += mask.Pixels.pixelIndex(x, y) ? '#' : '.';
    rows += '\n';
  }
  return rows;
}
}  // namespace

TEST(DisplayRegion, RectanglesCombineAndMakeMasks) {
  ImageBitmap bmp = Blank(6, 2);
  EXPECT_FALSE(HasBitmapRegion(bmp));
  ASSERT_EQ(SetRectRegion(bmp, QRect(0, 0, 4, 2)), SUCCESS);
  EXPECT_TRUE(HasBitmapRegion(bmp));
  ImageBitmap mask;
  ASSERT_EQ(MakeRegionMask(bmp, mask), SUCCESS);
  EXPECT_EQ(mask.BitsPerPixel, 1);
  EXPECT_EQ(mask.palette(), (QList<QRgb>{qRgb(0, 0, 0), qRgb(255, 255, 255)}));
  EXPECT_EQ(Inside(bmp), "####..\n####..\n");

  const struct {
    RegionCombine combine;
    const char* rows;
  } cases[] = {{RegionCombine::Set, "..####\n..####\n"},
               {RegionCombine::And, "..##..\n..##..\n"},
               {RegionCombine::Or, "######\n######\n"},
               {RegionCombine::Xor, "##..##\n##..##\n"},
               {RegionCombine::AndNot, "##....\n##....\n"}};
  for (const auto& c : cases) {
    SetRectRegion(bmp, QRect(0, 0, 4, 2));
    ASSERT_EQ(SetRectRegion(bmp, QRect(2, 0, 4, 2), c.combine), SUCCESS);
    EXPECT_EQ(Inside(bmp), c.rows) << int(c.combine);
  }
  SetRectRegion(bmp, QRect(4, 0, 2, 2), RegionCombine::And);
  EXPECT_FALSE(HasBitmapRegion(bmp));  // nothing left

  // Any rectangle: the region stays inside the picture; inverted ones are refused.
  ASSERT_EQ(SetRectRegion(bmp, QRect(QPoint(INT_MIN, INT_MIN), QPoint(INT_MAX, INT_MAX))),
            SUCCESS);
  EXPECT_EQ(Inside(bmp), "######\n######\n");
  EXPECT_EQ(SetRectRegion(bmp, QRect(5, 5, -2, 3)), ERROR_INV_PARAMETER);
  EXPECT_EQ(SetEllipseRegion(bmp, QRect(QPoint(INT_MAX, 0), QPoint(INT_MIN, 1))),
            ERROR_INV_PARAMETER);
  ASSERT_EQ(SetEllipseRegion(bmp, QRect(QPoint(INT_MIN, INT_MIN), QPoint(INT_MAX, INT_MAX))),
            SUCCESS);
  EXPECT_EQ(SetRectRegion(bmp, QRect(QPoint(INT_MAX - 5, 0), QPoint(INT_MAX, 1))), SUCCESS);
  EXPECT_FALSE(HasBitmapRegion(bmp));
  EXPECT_EQ(FreeBitmapRegion(bmp), SUCCESS);
  ImageBitmap empty;
  EXPECT_EQ(SetRectRegion(empty, QRect(0, 0, 1, 1)), ERROR_NO_BITMAP);
}

TEST(DisplayRegion, EllipseIsInscribed) {
  ImageBitmap bmp = Blank(20, 10);
  ASSERT_EQ(SetEllipseRegion(bmp, QRect(0, 0, 20, 10)), SUCCESS);
  ImageBitmap mask;
  MakeRegionMask(bmp, mask);
  for (QPoint corner : {QPoint(0, 0), QPoint(19, 0), QPoint(0, 9), QPoint(19, 9)})
    EXPECT_EQ(mask.Pixels.pixelIndex(corner), 0) << corner.x() << "," << corner.y();
  for (QPoint in : {QPoint(10, 5), QPoint(1, 5), QPoint(18, 4), QPoint(10, 0), QPoint(9, 9)})
    EXPECT_EQ(mask.Pixels.pixelIndex(in), 1) << in.x() << "," << in.y();
}

TEST(DisplayRegion, ColourRegionSelectsPixelsInRange) {
  ImageBitmap bmp = Blank(5, 3);
  for (QPoint p : {QPoint(0, 0), QPoint(1, 0), QPoint(4, 1), QPoint(2, 2), QPoint(3, 2)})
    bmp.Pixels.setPixel(p, qRgb(200, 100, 50));
  bmp.Pixels.setPixel(4, 2, qRgb(200, 100, 61));  // blue just out of range
  ASSERT_EQ(SetColorRegion(bmp, qRgb(190, 90, 40), qRgb(210, 110, 60)), SUCCESS);
  EXPECT_EQ(Inside(bmp), "##...\n....#\n..##.\n");
  // Lower and upper may come either way round; combining works as for shapes.
  ASSERT_EQ(SetColorRegion(bmp, qRgb(0, 0, 0), qRgb(0, 0, 0), RegionCombine::Or), SUCCESS);
  EXPECT_EQ(Inside(bmp), "#####\n#####\n####.\n");

  // An indexed picture is decided by its palette.
  ImageBitmap indexed;
  ASSERT_EQ(CreateBitmap(indexed, 1, 3, 1, 8, ColorOrder::Bgr, nullptr, TopLeft), SUCCESS);
  indexed.Pixels.setPixel(1, 0, 128);
  ASSERT_EQ(SetColorRegion(indexed, qRgb(140, 140, 140), qRgb(120, 120, 120)), SUCCESS);
  EXPECT_EQ(Inside(indexed), ".#.\n");
}

TEST(DisplayRegion, LargeColourRegionsCombineByPixels) {
  // A checkerboard of single pixels gives far too many pieces for path geometry.
  ImageBitmap bmp = Blank(200, 100);
  for (int y = 0; y < 100; ++y)
    for (int x = y % 2; x < 200; x += 2) bmp.Pixels.setPixel(x, y, qRgb(255, 255, 255));
  ASSERT_EQ(SetColorRegion(bmp, qRgb(255, 255, 255), qRgb(255, 255, 255)), SUCCESS);
  ASSERT_EQ(SetRectRegion(bmp, QRect(0, 0, 100, 100), RegionCombine::Xor), SUCCESS);
  ImageBitmap mask;
  MakeRegionMask(bmp, mask);
  EXPECT_EQ(mask.Pixels.pixelIndex(0, 0), 0);  // white and in the rectangle
  EXPECT_EQ(mask.Pixels.pixelIndex(1, 0), 1);
  EXPECT_EQ(mask.Pixels.pixelIndex(1, 1), 0);
  EXPECT_EQ(mask.Pixels.pixelIndex(100, 0), 1);
  EXPECT_EQ(mask.Pixels.pixelIndex(101, 0), 0);
}

namespace {
// Colours along row y of an outline drawn on white with the frame style.
std::vector<QRgb> OutlineRow(const ImageBitmap& bmp, const RegionTransform& t, int style, int y) {
  QImage image(40, 40, QImage::Format_RGB32);
  image.fill(Qt::gray);
  QPainter painter(&image);
  DeviceContext dc(painter, image.size());
  EXPECT_EQ(DrawRegionOutline(dc, bmp, t, style), SUCCESS);
  std::vector<QRgb> row;
  for (int x = 0; x < 40; ++x) row.push_back(image.pixel(x, y) & 0xffffff);
  return row;
}
}  // namespace

TEST(DisplayOutline, MarchingAntsFollowTheTransformAndMove) {
  ImageBitmap bmp = Blank(20, 20);
  SetRectRegion(bmp, QRect(0, 0, 10, 10));
  RegionTransform t;
  t.xNumerator = 3;
  t.xDenominator = 1;
  t.yNumerator = 3;
  t.yDenominator = 1;
  t.xOffset = 2;
  t.yOffset = 4;
  // The top edge lies on row 4 from x = 2 to 32, in black and white dashes.
  const QRgb grey = QColor(Qt::gray).rgb() & 0xffffff;
  const std::vector<QRgb> first = OutlineRow(bmp, t, 0, 4);
  EXPECT_EQ(first[0], grey);
  int black = 0, white = 0;
  for (int x = 3; x < 31; ++x) {
    black += first[size_t(x)] == 0;
    white += first[size_t(x)] == 0xffffff;
  }
  EXPECT_GT(black, 8);
  EXPECT_GT(white, 8);
  EXPECT_EQ(black + white, 28);
  EXPECT_EQ(OutlineRow(bmp, t, 0, 3)[10], grey);  // nothing above the edge

  // Advancing the style by two slides the dashes two pixels along.
  const std::vector<QRgb> moved = OutlineRow(bmp, t, 2, 4);
  EXPECT_NE(moved, first);
  bool forward = true, backward = true;
  for (int x = 6; x < 28; ++x) {
    forward = forward && moved[size_t(x)] == first[size_t(x + 2)];
    backward = backward && moved[size_t(x)] == first[size_t(x - 2)];
  }
  EXPECT_TRUE(forward || backward);

  QImage image(8, 8, QImage::Format_RGB32);
  QPainter painter(&image);
  DeviceContext dc(painter, image.size());
  t.xDenominator = 0;
  EXPECT_EQ(DrawRegionOutline(dc, bmp, t, 0), ERROR_INV_PARAMETER);
  t.xDenominator = 1;
  EXPECT_EQ(DrawRegionOutline(dc, bmp, t, 8), ERROR_INV_PARAMETER);
  // Immense scales and offsets only draw what comes near the device.
  for (int n : {INT_MAX, INT_MIN, -1}) {
    t = {n, 1, n, 1, n, INT_MIN};
    EXPECT_EQ(DrawRegionOutline(dc, bmp, t, 3), SUCCESS);
    t = {n, 1, n, INT_MAX, -INT_MAX, 4};
    EXPECT_EQ(DrawRegionOutline(dc, bmp, t, 3), SUCCESS);
  }
}

TEST(DisplayOutline, LargeRegionsOutlineTheirPixelsWithoutInnerEdges) {
  // 4x4 squares on a checkerboard: many pieces, each outlined on its own boundary only.
  ImageBitmap bmp = Blank(400, 80);
  for (int y = 0; y < 80; ++y)
    for (int x = 0; x < 400; ++x)
      if ((x / 4 + y / 4) % 2 == 0) bmp.Pixels.setPixel(x, y, qRgb(255, 255, 255));
  ASSERT_EQ(SetColorRegion(bmp, qRgb(255, 255, 255), qRgb(255, 255, 255)), SUCCESS);
  QImage image(400, 80, QImage::Format_RGB32);
  image.fill(Qt::gray);
  {
    QPainter painter(&image);
    DeviceContext dc(painter, image.size());
    ASSERT_EQ(DrawRegionOutline(dc, bmp, RegionTransform{}, 0), SUCCESS);
  }
  const QRgb grey = QColor(Qt::gray).rgb();
  EXPECT_NE(image.pixel(0, 0), grey);
  EXPECT_NE(image.pixel(0, 2), grey);
  // Inside a square, away from its edges, nothing is drawn.
  for (QPoint p : {QPoint(1, 1), QPoint(2, 2), QPoint(9, 1), QPoint(5, 5), QPoint(42, 14)})
    EXPECT_EQ(image.pixel(p), grey) << p.x() << "," << p.y();
}
