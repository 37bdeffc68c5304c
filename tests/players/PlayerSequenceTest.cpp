#include <gtest/gtest.h>

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include "PlayersTestSupport.h"
#include "common/PhotoDecoder.h"
#include "common/PhotoSequence.h"
#include "common/PlayerView.h"

namespace {
QString Folder(const QTemporaryDir& dir) { return dir.path() + QLatin1Char('/'); }
}  // namespace

TEST(PlayerSequence, TakesPhotosInNumericOrderUpToTheFirstMissingNumber) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  for (int i = 0; i <= 11; ++i)
    ASSERT_TRUE(WriteBytes(Folder(dir) + QStringLiteral("photo%1.jpg").arg(i), "x"));
  // Beyond the gap, and names that are not the show's: none of them is taken.
  ASSERT_TRUE(WriteBytes(Folder(dir) + "photo13.jpg", "x"));
  ASSERT_TRUE(WriteBytes(Folder(dir) + "photo12.jpeg", "x"));
  ASSERT_TRUE(WriteBytes(Folder(dir) + "Photo12.jpg", "x"));

  const QStringList photos = PhotoSequence::inFolder(Folder(dir));
  ASSERT_EQ(photos.size(), 12);
  for (int i = 0; i < photos.size(); ++i)
    EXPECT_EQ(QFileInfo(photos[i]).fileName(), QStringLiteral("photo%1.jpg").arg(i));
  EXPECT_EQ(photos[10], Folder(dir) + "photo10.jpg");

  // Without photo0.jpg there is no show at all.
  QTemporaryDir noFirst;
  ASSERT_TRUE(WriteBytes(Folder(noFirst) + "photo1.jpg", "x"));
  EXPECT_TRUE(PhotoSequence::inFolder(Folder(noFirst)).isEmpty());
}

TEST(PlayerSequence, DecodesPhotosFittedToTheScreenAndRefusesWhatIsNoPicture) {
  PlayersTestApp();
  QTemporaryDir dir;
  const QString wide = Folder(dir) + "photo0.jpg";
  const QString narrow = Folder(dir) + "photo1.jpg";
  const QString damaged = Folder(dir) + "photo2.jpg";
  const QString png = Folder(dir) + "photo3.jpg";
  ASSERT_TRUE(WriteJpegPhoto(wide, 1600, 800, qRgb(200, 30, 30)));
  ASSERT_TRUE(WriteJpegPhoto(narrow, 50, 100, qRgb(30, 30, 200)));
  ASSERT_TRUE(WriteBytes(damaged, QByteArray("\xff\xd8\xff\xe0 not really a photo", 24)));
  QImage pngImage(40, 20, QImage::Format_RGB32);
  pngImage.fill(qRgb(0, 160, 0));
  ASSERT_TRUE(pngImage.save(png, "PNG"));

  const QImage shrunk = PhotoDecoder::loadFitted(wide, QSize(400, 400));
  EXPECT_EQ(shrunk.size(), QSize(400, 200));
  EXPECT_TRUE(ColoursNear(shrunk.pixel(200, 100), qRgb(200, 30, 30)));
  // Small photos are enlarged to fill the screen as well.
  EXPECT_EQ(PhotoDecoder::loadFitted(narrow, QSize(300, 300)).size(), QSize(150, 300));
  // A photo that is not a JPEG after all still plays.
  EXPECT_EQ(PhotoDecoder::loadFitted(png, QSize(80, 80)).size(), QSize(80, 40));

  EXPECT_TRUE(PhotoDecoder::loadFitted(damaged, QSize(400, 400)).isNull());
  EXPECT_TRUE(PhotoDecoder::loadFitted(Folder(dir) + "photo9.jpg", QSize(400, 400)).isNull());
  EXPECT_TRUE(PhotoDecoder::loadFitted(wide, QSize()).isNull());
}

TEST(PlayerSequence, ShowPassesOverPhotosThatDoNotDecode) {
  PlayersTestApp();
  QTemporaryDir dir;
  ASSERT_TRUE(WriteJpegPhoto(Folder(dir) + "photo0.jpg", 64, 48, qRgb(255, 0, 0)));
  ASSERT_TRUE(WriteBytes(Folder(dir) + "photo1.jpg", "damaged"));
  ASSERT_TRUE(WriteJpegPhoto(Folder(dir) + "photo2.jpg", 64, 48, qRgb(0, 0, 255)));
  const QStringList photos = PhotoSequence::inFolder(Folder(dir));
  ASSERT_EQ(photos.size(), 3);

  PlayerView view(photos, PlayerView::Input::SlideShow, SlideTimeline(30, 10), "none");
  view.resize(160, 120);
  view.show();
  ASSERT_TRUE(QTest::qWaitFor([&] { return view.currentPhoto() == 0; }, 5000));
  ASSERT_TRUE(QTest::qWaitFor([&] { return view.currentPhoto() == 2; }, 5000));
  EXPECT_FALSE(view.showsMessage());
  // Round the end back to the first, again over the damaged one.
  ASSERT_TRUE(QTest::qWaitFor([&] { return view.currentPhoto() == 0; }, 5000));

  // Stepping back from the first goes to the last that decodes.
  view.setFocus();
  QTest::keyClick(&view, Qt::Key_Space);
  EXPECT_TRUE(view.isPaused());
  QTest::keyClick(&view, Qt::Key_Left);
  ASSERT_TRUE(QTest::qWaitFor([&] { return view.currentPhoto() == 2; }, 5000));
  EXPECT_TRUE(view.isPaused());
}

TEST(PlayerSequence, ShowOfOnlyDamagedPhotosShowsTheMessageAndEndsOnAKey) {
  PlayersTestApp();
  QTemporaryDir dir;
  ASSERT_TRUE(WriteBytes(Folder(dir) + "photo0.jpg", "damaged"));
  ASSERT_TRUE(WriteBytes(Folder(dir) + "photo1.jpg", ""));
  PlayerView view(PhotoSequence::inFolder(Folder(dir)), PlayerView::Input::SlideShow,
                  SlideTimeline(30, 10), "There are no photos in this show.");
  bool ended = false;
  QObject::connect(&view, &PlayerView::endRequested, [&] { ended = true; });
  view.resize(160, 120);
  view.show();
  ASSERT_TRUE(QTest::qWaitFor([&] { return view.showsMessage(); }, 5000));
  EXPECT_EQ(view.currentPhoto(), -1);
  QTest::keyClick(&view, Qt::Key_A);
  EXPECT_TRUE(ended);
}
