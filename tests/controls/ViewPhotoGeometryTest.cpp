#include <gtest/gtest.h>

#include "controls/ViewPhotoGeometry.h"

namespace {
const QRect kScreen(0, 0, 1920, 1080);

TEST(ViewPhotoGeometry, SmallPhotoIsCentredWithItsMargins) {
  const QRect rect = ViewPhotoWindowRect(QSize(400, 300), 30, kScreen);
  EXPECT_EQ(rect.size(), QSize(413, 300 + 60 + 10));
  EXPECT_EQ(rect.x(), (1920 - 413) / 2);
  EXPECT_EQ(rect.y(), (1080 - 370) / 2);
  // On a second screen the window is centred on that screen.
  EXPECT_EQ(ViewPhotoWindowRect(QSize(400, 300), 30, kScreen.translated(1920, 0)).x(),
            1920 + (1920 - 413) / 2);
}

TEST(ViewPhotoGeometry, TallWindowsKeepClearOfTheScreenBottom) {
  // Centred it would end 20 pixels above the bottom: it moves up to 35.
  const QRect nearBottom = ViewPhotoWindowRect(QSize(600, 1080 - 40 - 70), 30, kScreen);
  EXPECT_EQ(nearBottom.bottom() + 1, 1080 - 35);
  EXPECT_GE(nearBottom.top(), 0);

  // Larger than the screen: screen wide, top on the screen, 35 pixels clear at the bottom.
  const QRect huge = ViewPhotoWindowRect(QSize(4000, 3000), 30, kScreen);
  EXPECT_EQ(huge, QRect(0, 0, 1920, 1080 - 35));
}

TEST(ViewPhotoGeometry, Titles) {
  EXPECT_EQ(ViewPhotoTitle("Beach", QSize(400, 300)), "View Full Photo - Beach, 400 x 300");
  EXPECT_EQ(ViewPhotoTitle(QString(), QSize(0, 0)), "View Full Photo - 0 x 0");
}
}  // namespace
