#include <gtest/gtest.h>

#include <memory>

#include <QScrollBar>

#include "ControlsTestApp.h"
#include "controls/CScrollImageView.h"
#include "dis/ltdis.h"

namespace {
const QRgb kWhite = qRgb(255, 255, 255);

// 300 x 200: red left of x = 150, blue right of it; a green row at y = 150.
ImageBitmap TwoHalves() {
  QImage image(300, 200, QImage::Format_RGB32);
  image.fill(qRgb(220, 20, 20));
  for (int y = 0; y < 200; ++y)
    for (int x = 150; x < 300; ++x) image.setPixel(x, y, qRgb(20, 20, 220));
  for (int x = 0; x < 300; ++x) image.setPixel(x, 150, qRgb(20, 200, 20));
  ImageBitmap bmp;
  SetBitmapImage(bmp, image);
  return bmp;
}

class CScrollImageViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!ControlsTestApp()) GTEST_SKIP() << "a non-widget application exists";
    holder = std::make_unique<CScrollImageView>();
    holder->resize(120, 100);
    holder->show();
    QObject::connect(holder.get(), &CScrollImageView::afterPaint, [this](DeviceContext&, QSize client) {
      ++notifications;
      notifiedSize = client;
    });
  }
  QImage Shot() { return holder->viewport()->grab().toImage(); }

  std::unique_ptr<CScrollImageView> holder;
  int notifications = 0;
  QSize notifiedSize;
};

TEST_F(CScrollImageViewTest, RangeFollowsThePictureAsShown) {
  EXPECT_EQ(holder->scrollRange(), QSize(100, 100));
  ImageBitmap picture = TwoHalves();
  holder->setPicture(&picture);
  EXPECT_EQ(holder->scrollRange(), QSize(300, 200));
  const QSize client = holder->viewport()->size();
  EXPECT_EQ(holder->horizontalScrollBar()->maximum(), 300 - client.width());
  EXPECT_EQ(holder->verticalScrollBar()->maximum(), 200 - client.height());

  // Turned a quarter, the picture shows 200 wide and 300 high.
  picture.Perspective = RightTop;
  holder->setPicture(&picture);
  EXPECT_EQ(holder->scrollRange(), QSize(200, 300));
  // Turned upside down, it keeps its shape.
  picture.Perspective = BottomLeft;
  holder->setPicture(&picture);
  EXPECT_EQ(holder->scrollRange(), QSize(300, 200));
}

TEST_F(CScrollImageViewTest, PaintsAtOwnSizeFromTheScrolledCorner) {
  ImageBitmap picture = TwoHalves();
  holder->setPicture(&picture);
  QImage shot = Shot();
  EXPECT_EQ(PixelAt(shot, 0, 0), qRgb(220, 20, 20));
  EXPECT_GE(notifications, 1);
  EXPECT_EQ(notifiedSize, holder->viewport()->size());

  holder->horizontalScrollBar()->setValue(150);
  holder->verticalScrollBar()->setValue(holder->verticalScrollBar()->maximum());
  shot = Shot();
  EXPECT_EQ(PixelAt(shot, 0, 0), qRgb(20, 20, 220));
  const int greenRow = 150 - holder->verticalScrollBar()->value();
  EXPECT_EQ(PixelAt(shot, 5, greenRow), qRgb(20, 200, 20));
}

TEST_F(CScrollImageViewTest, SmallOrEmptyPictureOnWhite) {
  ImageBitmap small = SolidPicture(20, 10, qRgb(0, 0, 0));
  holder->setPicture(&small);
  QImage shot = Shot();
  EXPECT_EQ(PixelAt(shot, 19, 9), qRgb(0, 0, 0));
  EXPECT_EQ(PixelAt(shot, 20, 9), kWhite);
  EXPECT_EQ(PixelAt(shot, 19, 10), kWhite);
  EXPECT_EQ(holder->horizontalScrollBar()->maximum(), 0);

  ImageBitmap empty;
  holder->setPicture(&empty);
  notifications = 0;
  shot = Shot();
  EXPECT_EQ(PixelAt(shot, 0, 0), kWhite);
  EXPECT_EQ(notifications, 0);
}
}  // namespace
