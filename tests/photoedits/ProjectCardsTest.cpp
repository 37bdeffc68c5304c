#include <gtest/gtest.h>

#include "ProjectPictures.h"
#include "photoedits/ProjectCards.h"

namespace {
using ProjectCardsTest = ProjectPictureTest;

constexpr QRgb kWhite = 0xffffffff;

bool IsBlack(QRgb p) { return qRed(p) < 80 && qGreen(p) < 80 && qBlue(p) < 80; }
bool IsRed(QRgb p) { return qRed(p) > 180 && qGreen(p) < 90 && qBlue(p) < 90; }
bool IsYellow(QRgb p) { return qRed(p) > 180 && qGreen(p) > 180 && qBlue(p) < 90; }
bool IsGreen(QRgb p) { return qGreen(p) > 180 && qRed(p) < 90 && qBlue(p) < 90; }
bool IsBlue(QRgb p) { return qBlue(p) > 180 && qRed(p) < 90 && qGreen(p) < 90; }

// A square photo, blue in its top-left quarter and yellow elsewhere, so that a turned
// copy shows which way up it is.
ImageBitmap QuarteredPhoto(int side) {
  QImage image(side, side, QImage::Format_RGB32);
  image.fill(qRgb(240, 220, 0));
  for (int y = 0; y < side / 2; ++y)
    for (int x = 0; x < side / 2; ++x) image.setPixel(x, y, qRgb(0, 0, 230));
  ImageBitmap bmp;
  SetBitmapImage(bmp, image);
  return bmp;
}
}  // namespace

TEST_F(ProjectCardsTest, ASportsCardIsReducedAndNamedAtNineTenths) {
  ImageBitmap card;
  ASSERT_EQ(DrawSportsCard(FilledPicture(400, 600, kWhite), QStringLiteral("Jo Player"), card),
            SUCCESS);
  ASSERT_EQ(card.shownSize(), QSize(320, 480));
  const QRect name = PixelsWhere(card, IsDark);
  ASSERT_TRUE(name.isValid());
  EXPECT_GE(name.top(), 432);
  EXPECT_LE(name.bottom(), 452);
  EXPECT_NEAR(name.center().x(), 160, 4);
  EXPECT_GT(name.width(), 40);

  // A card no taller than 480 keeps its size; without a name it is the template as it was.
  ASSERT_EQ(DrawSportsCard(FilledPicture(343, 480, kWhite), QString(), card), SUCCESS);
  EXPECT_EQ(card.shownSize(), QSize(343, 480));
  EXPECT_FALSE(PixelsWhere(card, IsDark).isValid());
  EXPECT_EQ(DrawSportsCard(ImageBitmap(), QStringLiteral("x"), card), ERROR_NO_BITMAP);
}

TEST_F(ProjectCardsTest, MagazineCaptionsWrapInsideTheirBoxesAndEmptyOnesDrawNothing) {
  MagazineCaptions captions = DefaultMagazineCaptions();
  EXPECT_EQ(captions[0].Colour, QColor(255, 255, 0));
  EXPECT_EQ(captions[1].Colour, QColor(255, 0, 0));
  EXPECT_EQ(captions[2].Colour, QColor(0, 255, 0));
  EXPECT_EQ(captions[3].Colour, QColor(0, 0, 255));
  for (const MagazineCaption& caption : captions) EXPECT_TRUE(caption.Text.isEmpty());

  const ImageBitmap framed = FilledPicture(372, 480, kWhite);
  ImageBitmap cover;
  ASSERT_EQ(DrawMagazineCover(framed, captions, cover), SUCCESS);
  EXPECT_FALSE(PixelsWhere(cover, [](QRgb p) { return p != kWhite; }).isValid());

  captions[1].Text = QStringLiteral(
      "The longest caption ever set on a cover, running on and on about summer, the sea, "
      "the sand and everything else under the sun until it cannot fit");
  captions[3].Text = QStringLiteral("Blue");
  ASSERT_EQ(DrawMagazineCover(framed, captions, cover), SUCCESS);
  EXPECT_EQ(cover.shownSize(), QSize(372, 480));
  // The red caption: several lines in the box at (30, 200), cut at its bottom and right.
  const QRect red = PixelsWhere(cover, IsRed);
  ASSERT_TRUE(red.isValid());
  EXPECT_GE(red.left(), 29);
  EXPECT_GE(red.top(), 199);
  EXPECT_LT(red.right(), 130);
  EXPECT_LT(red.bottom(), 300);
  EXPECT_GT(red.height(), 80);
  // Its black shadow lies one pixel to the lower right, inside the same box.
  const QRect shadow = PixelsWhere(cover, IsBlack, QRect(0, 150, 372, 200));
  ASSERT_TRUE(shadow.isValid());
  EXPECT_GE(shadow.left(), 30);
  EXPECT_LT(shadow.bottom(), 300);
  EXPECT_LT(shadow.right(), 130);
  const QRect blue = PixelsWhere(cover, IsBlue);
  ASSERT_TRUE(blue.isValid());
  EXPECT_GE(blue.top(), 399);
  EXPECT_FALSE(PixelsWhere(cover, IsYellow).isValid());
  EXPECT_FALSE(PixelsWhere(cover, IsGreen).isValid());

  // A tall template is reduced to 480 high as the sports card is.
  ASSERT_EQ(DrawMagazineCover(FilledPicture(400, 600, kWhite), captions, cover), SUCCESS);
  EXPECT_EQ(cover.shownSize(), QSize(320, 480));
}

TEST_F(ProjectCardsTest, TheGreetingCardIsAQuarterPageFoldedInFour) {
  EXPECT_EQ(GreetingCardSize(QSize(4800, 6400)), QSize(1200, 1600));
  EXPECT_EQ(GreetingCardSize(QSize(4801, 6403)), QSize(1200, 1600));
  EXPECT_EQ(GreetingCardSize(QSize()), QSize(1200, 1581));
  EXPECT_EQ(GreetingCardSize(QSize(0, 0)), QSize(1200, 1581));

  QFont font(QStringLiteral("Sans Serif"));
  font.setPixelSize(40);
  ImageBitmap card;
  ASSERT_EQ(DrawGreetingCard(QuarteredPhoto(300), QStringLiteral("Hi\nthere"), font,
                             QColor(220, 0, 0), QSize(1200, 1600), card),
            SUCCESS);
  ASSERT_EQ(card.shownSize(), QSize(1200, 1600));
  EXPECT_EQ(card.BitsPerPixel, 24);
  const QImage page = BitmapToRgb32(card);
  // The photo fills the upper left quarter's width, 600 x 600 from y = 100, upside down:
  // its blue corner is now at the lower right.
  const QRect photo = PixelsWhere(
      card, [](QRgb p) { return p != kWhite; }, QRect(0, 0, 600, 800));
  EXPECT_EQ(photo, QRect(0, 100, 600, 600));
  EXPECT_TRUE(IsBlue(page.pixel(450, 550)));
  EXPECT_FALSE(IsBlue(page.pixel(150, 250)));
  // The message reads upright in the lower right quarter, its two lines one above the other.
  const QRect message = PixelsWhere(card, IsRed);
  ASSERT_TRUE(message.isValid());
  EXPECT_GE(message.left(), 600);
  EXPECT_GE(message.top(), 800);
  EXPECT_GT(message.height(), 60);
  EXPECT_LT(message.height(), 110);
  EXPECT_FALSE(PixelsWhere(
                   card, [](QRgb p) { return p != kWhite; }, QRect(600, 0, 600, 800))
                   .isValid());
  // "Hi" above "there": the first line is the narrower, so the top rows are.
  const QRect topLine = PixelsWhere(card, IsRed, QRect(600, message.top(), 600, 30));
  const QRect bottomLine = PixelsWhere(card, IsRed, QRect(600, message.bottom() - 25, 600, 26));
  EXPECT_LT(topLine.width(), bottomLine.width());

  // A size in points is taken at 96 dots an inch: 30 points are 40 pixels.
  QFont points(QStringLiteral("Sans Serif"));
  points.setPointSize(30);
  ImageBitmap same;
  ASSERT_EQ(DrawGreetingCard(QuarteredPhoto(300), QStringLiteral("Hi\nthere"), points,
                             QColor(220, 0, 0), QSize(1200, 1600), same),
            SUCCESS);
  EXPECT_EQ(PixelsWhere(same, IsRed), message);

  // Without a message the lower right stays blank; a 32-bit photo makes a 32-bit card.
  ASSERT_EQ(DrawGreetingCard(FilledPicture(300, 200, qRgb(0, 0, 230), true), QString(), font,
                             Qt::red, QSize(1200, 1581), card),
            SUCCESS);
  EXPECT_EQ(card.BitsPerPixel, 32);
  EXPECT_FALSE(PixelsWhere(
                   card, [](QRgb p) { return p != kWhite; }, QRect(600, 790, 600, 791))
                   .isValid());
  EXPECT_TRUE(IsBlue(BitmapToRgb32(card).pixel(300, 395)));
}
