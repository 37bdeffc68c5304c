#include <gtest/gtest.h>

#include <QDir>
#include <QPainter>

#include "PlayersTestSupport.h"
#include "common/SlideFrame.h"
#include "common/SlideTimeline.h"

TEST(PlayerTimeline, FadeRisesSmoothlyFromStartToEnd) {
  EXPECT_EQ(FadeMix(0, 800), 0.0);
  EXPECT_DOUBLE_EQ(FadeMix(400, 800), 0.5);
  EXPECT_EQ(FadeMix(800, 800), 1.0);
  EXPECT_EQ(FadeMix(0, 0), 1.0);
  double last = 0.0;
  for (int t = 1; t <= 800; ++t) {
    const double mix = FadeMix(t, 800);
    EXPECT_GT(mix, last) << t;
    last = mix;
  }
  // Eased: the first and last steps are the gentlest.
  EXPECT_LT(FadeMix(8, 800), 0.01);
  EXPECT_GT(FadeMix(792, 800), 0.99);
}

TEST(PlayerTimeline, EachPhotoStaysItsTimeThenFadesToTheNext) {
  SlideTimeline timeline(5000, 800);
  EXPECT_FALSE(timeline.isDue(100000));
  timeline.show(0, 1000);
  EXPECT_FALSE(timeline.isDue(5999));
  EXPECT_TRUE(timeline.isDue(6000));

  timeline.beginFade(1, 6000);
  EXPECT_TRUE(timeline.isFading());
  EXPECT_FALSE(timeline.isDue(20000));
  EXPECT_DOUBLE_EQ(timeline.fadeMix(6400), 0.5);
  EXPECT_FALSE(timeline.finishFade(6799));
  EXPECT_EQ(timeline.current(), 0);
  EXPECT_TRUE(timeline.finishFade(6800));
  EXPECT_EQ(timeline.current(), 1);
  EXPECT_FALSE(timeline.isFading());
  EXPECT_EQ(timeline.fadeMix(6800), 0.0);
  // The next photo's time starts when its fade has ended.
  EXPECT_FALSE(timeline.isDue(11799));
  EXPECT_TRUE(timeline.isDue(11800));

  // A step during a fade lands on the fade's photo at once.
  timeline.beginFade(2, 12000);
  timeline.completeFade(12100);
  EXPECT_EQ(timeline.current(), 2);
  EXPECT_FALSE(timeline.isFading());
}

TEST(PlayerTimeline, PauseKeepsTheRestOfThePhotosTime) {
  SlideTimeline timeline(5000, 800);
  timeline.show(3, 0);
  timeline.setPaused(true, 3000);
  EXPECT_FALSE(timeline.isDue(60000));
  timeline.setPaused(true, 4000);  // pausing twice changes nothing
  timeline.setPaused(false, 60000);
  EXPECT_FALSE(timeline.isDue(61999));
  EXPECT_TRUE(timeline.isDue(62000));
}

TEST(PlayerTimeline, StepsRoundTheEndsOverPhotosThatDoNotDecode) {
  EXPECT_EQ(StepPhotoIndex(0, 1, 3, {}), 1);
  EXPECT_EQ(StepPhotoIndex(2, 1, 3, {}), 0);
  EXPECT_EQ(StepPhotoIndex(0, -1, 3, {}), 2);
  EXPECT_EQ(StepPhotoIndex(0, 1, 4, {1, 2}), 3);
  EXPECT_EQ(StepPhotoIndex(3, 1, 4, {0, 1}), 2);
  EXPECT_EQ(StepPhotoIndex(3, -1, 4, {0, 1, 2}), 3);
  EXPECT_EQ(StepPhotoIndex(0, 1, 1, {}), 0);
  EXPECT_EQ(StepPhotoIndex(0, 1, 2, {0, 1}), -1);
  EXPECT_EQ(StepPhotoIndex(0, 1, 0, {}), -1);
  // Before the first photo is found (-1), the search starts at photo 0.
  EXPECT_EQ(StepPhotoIndex(-1, 1, 3, {}), 0);
}

TEST(PlayerTimeline, PicturesFitTheScreenCentredKeepingTheirProportions) {
  EXPECT_EQ(FitPictureRect(QSize(4000, 2000), QSize(800, 600)), QRect(0, 100, 800, 400));
  EXPECT_EQ(FitPictureRect(QSize(3000, 4000), QSize(800, 600)), QRect(175, 0, 450, 600));
  EXPECT_EQ(FitPictureRect(QSize(80, 60), QSize(800, 600)), QRect(0, 0, 800, 600));
  EXPECT_EQ(FitPictureRect(QSize(10000, 1), QSize(800, 600)).height(), 1);
  EXPECT_TRUE(FitPictureRect(QSize(), QSize(800, 600)).isEmpty());
  EXPECT_TRUE(FitPictureRect(QSize(80, 60), QSize()).isEmpty());
}

TEST(PlayerTimeline, CrossFadeBlendsThePicturesWithoutADip) {
  PlayersTestApp();
  // A wide red picture fading into a tall blue one, on a square screen.
  QImage red(200, 100, QImage::Format_ARGB32_Premultiplied);
  red.fill(qRgb(240, 0, 0));
  QImage blue(100, 200, QImage::Format_ARGB32_Premultiplied);
  blue.fill(qRgb(0, 0, 240));
  const auto frame = [&](double mix) {
    QImage screen(200, 200, QImage::Format_RGB32);
    screen.fill(Qt::white);
    QPainter painter(&screen);
    PaintSlideFrame(painter, screen.size(), red, blue, mix);
    return screen;
  };

  const QImage start = frame(0.0);
  EXPECT_TRUE(ColoursNear(start.pixel(100, 100), qRgb(240, 0, 0), 1));
  EXPECT_TRUE(ColoursNear(start.pixel(100, 10), qRgb(0, 0, 0), 1));
  const QImage middle = frame(0.5);
  EXPECT_TRUE(ColoursNear(middle.pixel(100, 100), qRgb(120, 0, 120), 2));  // both
  EXPECT_TRUE(ColoursNear(middle.pixel(10, 100), qRgb(120, 0, 0), 2));     // red only
  EXPECT_TRUE(ColoursNear(middle.pixel(100, 10), qRgb(0, 0, 120), 2));     // blue only
  EXPECT_TRUE(ColoursNear(middle.pixel(10, 10), qRgb(0, 0, 0), 1));        // neither
  const QImage end = frame(1.0);
  EXPECT_TRUE(ColoursNear(end.pixel(100, 100), qRgb(0, 0, 240), 1));
  EXPECT_TRUE(ColoursNear(end.pixel(10, 100), qRgb(0, 0, 0), 1));

  QDir().mkpath(BRIVANE_SCREENSHOT_DIR);
  middle.save(QStringLiteral(BRIVANE_SCREENSHOT_DIR "player-mid-fade.png"), "PNG");
}
