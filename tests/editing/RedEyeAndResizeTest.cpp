#include <gtest/gtest.h>

#include "EditingDialogFixture.h"
#include "krn/ltkrn.h"
#include "photoedits/RedEye.h"
#include "photoedits/ResizeChoice.h"

TEST(RedEye, TheEllipseIsTheSameDrawnInAnyDirectionAndLandsUnderTheScrolledView) {
  const QRect expected(110, 70, 40, 30);
  const QPoint scroll(100, 50);
  EXPECT_EQ(RedEyeEllipse(QPoint(10, 20), QPoint(50, 50), scroll), expected);
  EXPECT_EQ(RedEyeEllipse(QPoint(50, 50), QPoint(10, 20), scroll), expected);
  EXPECT_EQ(RedEyeEllipse(QPoint(50, 20), QPoint(10, 50), scroll), expected);
  EXPECT_EQ(RedEyeEllipse(QPoint(10, 50), QPoint(50, 20), scroll), expected);
  EXPECT_TRUE(RedEyeEllipse(QPoint(10, 20), QPoint(10, 20), scroll).isEmpty());
}

TEST(RedEye, OnlyThePixelsInsideTheEllipseTakeTheirGreyValue) {
  // (200, 30, 30) has the grey value 81: OR-ed, (217, 95, 95).
  ImageBitmap picture = FilledPicture(120, 80, qRgb(200, 30, 30));
  const QRect ellipse(20, 10, 60, 40);
  ASSERT_EQ(CorrectRedEye(picture, ellipse), SUCCESS);
  EXPECT_EQ(picture.BitsPerPixel, 24);
  int inside = 0;
  for (int y = 0; y < 80; ++y)
    for (int x = 0; x < 120; ++x) {
      const QRgb pixel = picture.Pixels.pixel(x, y);
      const double dx = (x + 0.5 - 50) / 30, dy = (y + 0.5 - 30) / 20;
      const double distance = dx * dx + dy * dy;
      if (distance < 0.8) {
        EXPECT_EQ(pixel, qRgb(217, 95, 95)) << x << "," << y;
        ++inside;
      } else if (distance > 1.2) {
        EXPECT_EQ(pixel, qRgb(200, 30, 30)) << x << "," << y;
      }
    }
  EXPECT_GT(inside, 1200);

  // Partly off the picture: the part on it is corrected. Beside it: nothing happens.
  ImageBitmap edge = FilledPicture(50, 50, qRgb(200, 30, 30));
  ASSERT_EQ(CorrectRedEye(edge, QRect(30, 30, 40, 40)), SUCCESS);
  EXPECT_EQ(edge.Pixels.pixel(49, 49), qRgb(217, 95, 95));
  EXPECT_EQ(edge.Pixels.pixel(5, 5), qRgb(200, 30, 30));
  const ImageBitmap before = edge;
  EXPECT_EQ(CorrectRedEye(edge, QRect(60, 60, 10, 10)), ERROR_INV_PARAMETER);
  EXPECT_EQ(edge.Pixels, before.Pixels);
}

TEST(ResizeChoice, TheOwnSizeFollowsTheRatioAsTheFieldsAreLeft) {
  OwnSizeFields fields = OwnSizeFields::ForPicture(FilledPicture(1000, 500, qRgb(1, 2, 3)));
  EXPECT_EQ(fields.Width, 1000);
  EXPECT_EQ(fields.Height, 500);
  EXPECT_EQ(fields.Ratio, "2.000000");
  EXPECT_TRUE(fields.KeepRatio);
  fields.Width = 400;
  fields.widthLeft();
  EXPECT_EQ(fields.Height, 200);

  // A cleared ratio is the own size's again; the width then follows the height.
  fields.Ratio.clear();
  fields.Height = 300;
  fields.heightLeft();
  EXPECT_EQ(fields.Ratio, "1.333333");
  EXPECT_EQ(fields.Width, 400);
  fields.Ratio = QStringLiteral("none");
  fields.Width = 900;
  fields.widthLeft();
  EXPECT_EQ(fields.Ratio, "3.000000");

  // Six decimals of 1000 / 333 must not make 999 of 1000.
  OwnSizeFields third = OwnSizeFields::ForPicture(FilledPicture(1000, 333, qRgb(1, 2, 3)));
  third.heightLeft();
  EXPECT_EQ(third.Width, 1000);

  // Without the ratio kept, each side is the user's.
  fields.KeepRatio = false;
  fields.Width = 123;
  fields.widthLeft();
  EXPECT_EQ(fields.Height, 300);

  // A picture turned a quarter by its perspective offers its size as shown, and is
  // resized so that it shows at the size chosen.
  ImageBitmap turned = FilledPicture(1000, 500, qRgb(1, 2, 3));
  turned.Perspective = RightTop;
  EXPECT_EQ(OwnSizeFields::ForPicture(turned).Width, 500);
  ASSERT_EQ(ResizeToShownSize(turned, 80, 60), SUCCESS);
  EXPECT_EQ(turned.shownSize(), QSize(80, 60));
}

TEST(ResizeChoice, SizesNoPictureCanHaveAreRefusedNamingTheLimit) {
  const qint64 memory = qint64(8) * 1024 * 1024 * 1024;
  EXPECT_TRUE(ResizeSizeProblem(800, 600, 24, memory).isEmpty());
  EXPECT_TRUE(ResizeSizeProblem(65535, 1, 24, memory).isEmpty());
  for (QSize size : {QSize(0, 600), QSize(800, -1), QSize(65536, 10), QSize(10, 70000)})
    EXPECT_TRUE(ResizeSizeProblem(size.width(), size.height(), 24, memory).contains("from 1 to 65535 pixels"))
        << size.width() << "x" << size.height();
  // 40000 x 40000: beyond what the library holds. 30000 x 30000 at 24 bits: 3433 MB.
  EXPECT_TRUE(ResizeSizeProblem(40000, 40000, 24, memory).contains("at most 1000 million pixels"));
  const QString memoryProblem = ResizeSizeProblem(30000, 30000, 24, memory / 4);
  EXPECT_TRUE(memoryProblem.contains("3434 MB")) << memoryProblem.toStdString();
  EXPECT_TRUE(memoryProblem.contains("2048 MB")) << memoryProblem.toStdString();
  EXPECT_TRUE(ResizeSizeProblem(30000, 30000, 8, memory / 4).isEmpty());
  EXPECT_EQ(ResizePresets().size(), 8u);
}
