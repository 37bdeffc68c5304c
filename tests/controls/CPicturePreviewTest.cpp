#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include "ControlsTestApp.h"
#include "controls/CPicturePreview.h"
#include "dis/ltdis.h"

namespace {
const QRgb kPatternA = qRgb(30, 60, 90);
const QRgb kPatternB = qRgb(200, 190, 180);
const QRgb kRed = qRgb(220, 20, 20);
const QRgb kBlue = qRgb(20, 20, 220);

// A program folder of its own whose background pattern has known pixels: a checkerboard
// of 2 x 2 squares, kPatternA where (x / 2 + y / 2) is even.
class CPicturePreviewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!ControlsTestApp()) GTEST_SKIP() << "a non-widget application exists";
    ASSERT_TRUE(folder.isValid());
    ASSERT_TRUE(QDir(folder.path()).mkpath("resources"));
    QImage pattern(16, 16, QImage::Format_RGB32);
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) pattern.setPixel(x, y, (x / 2 + y / 2) % 2 ? kPatternB : kPatternA);
    ASSERT_TRUE(pattern.save(folder.path() + "/resources/preview-pattern.bmp", "BMP"));
    saved = qgetenv("BRIVANE_PROGRAM_FOLDER");
    qputenv("BRIVANE_PROGRAM_FOLDER", (folder.path() + "/").toUtf8());
    preview = std::make_unique<CPicturePreview>();
    preview->resize(200, 150);
    QObject::connect(preview.get(), &CPicturePreview::afterPaint,
                     [this](DeviceContext& dc, QSize client) {
                       ++notifications;
                       notifiedSize = client;
                       // The owner draws over the picture, as the crop dialog does.
                       dc.painter().fillRect(QRect(100, 75, 1, 1), QColor(0, 255, 0));
                     });
  }
  void TearDown() override { qputenv("BRIVANE_PROGRAM_FOLDER", saved); }

  QRgb Pattern(int x, int y) const { return (x / 2 + y / 2) % 2 ? kPatternB : kPatternA; }

  QTemporaryDir folder;
  QByteArray saved;
  std::unique_ptr<CPicturePreview> preview;
  int notifications = 0;
  QSize notifiedSize;
};
}  // namespace

TEST_F(CPicturePreviewTest, WithoutAPictureShowsOnlyTheOutlinedPattern) {
  EXPECT_EQ(preview->displayMode(), 2);
  EXPECT_EQ(preview->zoomLevel(), 1);
  EXPECT_EQ(preview->panOffset(), QPoint());
  const ImageBitmap empty;
  for (const ImageBitmap* picture : {static_cast<const ImageBitmap*>(nullptr), &empty}) {
    preview->setPicture(picture);
    const QImage shown = preview->grab().toImage();
    EXPECT_EQ(PixelAt(shown, 0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(PixelAt(shown, 199, 149), qRgb(255, 255, 255));
    EXPECT_EQ(PixelAt(shown, 100, 0), qRgb(255, 255, 255));
    for (const QPoint p : {QPoint(1, 1), QPoint(3, 2), QPoint(100, 75), QPoint(198, 148)})
      EXPECT_EQ(PixelAt(shown, p.x(), p.y()), Pattern(p.x(), p.y())) << p.x() << "," << p.y();
  }
  EXPECT_EQ(notifications, 0);
}

TEST_F(CPicturePreviewTest, StretchesOrFitsIntoTheInsetTarget) {
  QImage image(2, 1, QImage::Format_RGB32);
  image.setPixel(0, 0, kRed);
  image.setPixel(1, 0, kBlue);
  ImageBitmap picture;
  SetBitmapImage(picture, image);
  preview->setPicture(&picture);

  preview->setDisplayMode(1);
  QImage shown = preview->grab().toImage();
  EXPECT_EQ(PixelAt(shown, 3, 75), Pattern(3, 75));
  EXPECT_EQ(PixelAt(shown, 4, 4), kRed);
  EXPECT_EQ(PixelAt(shown, 195, 145), kBlue);
  EXPECT_EQ(PixelAt(shown, 196, 75), Pattern(196, 75));
  EXPECT_EQ(PixelAt(shown, 100, 75), qRgb(0, 255, 0));
  EXPECT_EQ(notifications, 1);
  EXPECT_EQ(notifiedSize, QSize(200, 150));

  // Fitted: 192 x 96 centred in the 192 x 142 target, so from y 27 to 122.
  preview->setDisplayMode(2);
  shown = preview->grab().toImage();
  EXPECT_EQ(PixelAt(shown, 10, 26), Pattern(10, 26));
  EXPECT_EQ(PixelAt(shown, 10, 27), kRed);
  EXPECT_EQ(PixelAt(shown, 190, 122), kBlue);
  EXPECT_EQ(PixelAt(shown, 190, 123), Pattern(190, 123));
  EXPECT_EQ(notifications, 2);
}

TEST_F(CPicturePreviewTest, ZoomAndPanRecordWhatWasDrawn) {
  const ImageBitmap picture = SolidPicture(40, 40, kRed);
  preview->setPicture(&picture);
  preview->setDisplayMode(3);
  QImage shown = preview->grab().toImage();
  EXPECT_EQ(preview->drawnRect(), QRect(25, 0, 150, 150));
  EXPECT_EQ(preview->drawnSize(), QSize(150, 150));
  EXPECT_EQ(PixelAt(shown, 24, 75), Pattern(24, 75));
  EXPECT_EQ(PixelAt(shown, 25, 0), kRed);
  EXPECT_EQ(PixelAt(shown, 174, 149), kRed);

  preview->setZoomLevel(2);
  shown = preview->grab().toImage();
  EXPECT_EQ(preview->drawnSize(), QSize(225, 225));
  EXPECT_EQ(preview->zoomRect(), QRect(-12, -37, 225, 225));
  EXPECT_EQ(preview->drawnRect(), QRect(0, 0, 200, 150));
  EXPECT_EQ(PixelAt(shown, 0, 0), kRed);
  EXPECT_EQ(PixelAt(shown, 199, 149), kRed);

  preview->setZoomLevel(0);
  preview->setPanOffset(QPoint(100, 0));
  shown = preview->grab().toImage();
  EXPECT_EQ(preview->drawnSize(), QSize(84, 84));
  EXPECT_EQ(preview->zoomRect(), QRect(158, 33, 84, 84));
  EXPECT_EQ(preview->drawnRect(), QRect(158, 33, 42, 84));
  EXPECT_EQ(PixelAt(shown, 157, 75), Pattern(157, 75));
  EXPECT_EQ(PixelAt(shown, 199, 75), kRed);
  EXPECT_EQ(notifications, 3);
}

TEST_F(CPicturePreviewTest, TinyWindowsAndUnknownModesDrawNoPicture) {
  const ImageBitmap picture = SolidPicture(40, 40, kRed);
  preview->setPicture(&picture);
  preview->resize(6, 6);
  preview->grab();
  preview->setDisplayMode(7);
  preview->resize(200, 150);
  const QImage shown = preview->grab().toImage();
  EXPECT_EQ(PixelAt(shown, 100, 70), Pattern(100, 70));
  EXPECT_EQ(notifications, 0);
}
