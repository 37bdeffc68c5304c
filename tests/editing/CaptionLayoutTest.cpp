#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QGlyphRun>
#include <QGuiApplication>
#include <QPainter>
#include <QRawFont>
#include <QTextLayout>

#include "EditingDialogFixture.h"
#include "krn/ltkrn.h"
#include "photoedits/CaptionLayout.h"

namespace {
class CaptionLayoutTest : public ::testing::Test {
 protected:
  static inline char programName[] = "editing_tests";
  static inline int argc = 1;
  static inline char* argv[] = {programName, nullptr};
  QGuiApplication application{argc, argv};
};

QFont Sized(int points) {
  QFont font = DefaultCaptionFont();
  font.setPointSize(points);
  return font;
}

// Glyphs drawn as the missing-glyph box: index 0 of the font that drew them.
int MissingGlyphs(const CaptionLayout& layout) {
  int missing = 0;
  for (const QGlyphRun& run : layout.textLayout()->glyphRuns())
    for (quint32 glyph : run.glyphIndexes()) missing += glyph == 0;
  return missing;
}

constexpr QRgb kGrey = 0xff808080;
}  // namespace

TEST_F(CaptionLayoutTest, TheBoxFollowsTheTextWithinItsWidth) {
  // No text: the smallest box, nothing to draw.
  const CaptionLayout empty = CaptionLayout::Fit(QString(), Sized(12), 100);
  EXPECT_EQ(empty.box(), QSize(100, 100));
  EXPECT_EQ(empty.textLayout(), nullptr);

  // A long text in a new caption wraps at about its 100 units and grows taller; each new
  // layout at the caption's own width makes it at most 4 units wider.
  const QString story = QStringLiteral("Once upon a time there was a very small dog who lived by the sea and barked at waves");
  const CaptionLayout fresh = CaptionLayout::Fit(story, Sized(12), 100);
  EXPECT_LE(fresh.box().width(), 104);
  EXPECT_GT(fresh.box().height(), 150);
  EXPECT_GT(fresh.textLayout()->lineCount(), 6);
  const CaptionLayout again = CaptionLayout::Fit(story, Sized(12), fresh.box().width());
  EXPECT_LE(again.box().width(), fresh.box().width() + 4);
  EXPECT_EQ(fresh.textHeight(), fresh.box().height() - 2 + 5);

  // A word longer than the width keeps its own line and widens the box.
  const CaptionLayout wide = CaptionLayout::Fit(QStringLiteral("a Supercalifragilisticexpialidocious b"), Sized(12), 100);
  EXPECT_GT(wide.box().width(), 150);
  EXPECT_EQ(wide.textLayout()->lineCount(), 3);
  // Line breaks typed in the text start new lines.
  EXPECT_EQ(CaptionLayout::Fit(QStringLiteral("Hi\r\nthere\nyou"), Sized(12), 300).textLayout()->lineCount(), 3);
}

TEST_F(CaptionLayoutTest, EveryShapeHoldsItsTextAtTheSmallestAndLargestFonts) {
  for (int points : {1, 8, 72, 200}) {
    const CaptionLayout layout = CaptionLayout::Fit(QStringLiteral("Hello there, world"), Sized(points), 100);
    const QRect box(QPoint(0, 0), layout.box());
    EXPECT_GE(box.width(), 100) << points;
    EXPECT_GE(box.height(), 100) << points;
    // The text block lies inside the box, centred on it.
    const QRectF text = layout.textLayout()->boundingRect().translated(layout.textOrigin());
    EXPECT_GE(text.top(), -1) << points;
    EXPECT_LE(text.bottom(), box.height() + 1) << points;
    EXPECT_NEAR(text.center().y(), box.height() / 2.0, 4) << points;
    for (CaptionShape shape : {CaptionShape::Thinking, CaptionShape::Talking, CaptionShape::StickyNote}) {
      const QRect covered = layout.coveredRect(shape);
      EXPECT_TRUE(covered.contains(CaptionOutline(shape, layout.box()).boundingRect().toAlignedRect().adjusted(1, 1, -1, -1)))
          << points;
      EXPECT_LE(covered.height(), box.height() + kCaptionTailDepth);
    }
    for (const QRectF& bubble : ThoughtBubbles(layout.box()))
      EXPECT_TRUE(layout.coveredRect(CaptionShape::Thinking).contains(bubble.toAlignedRect())) << points;
  }
}

TEST_F(CaptionLayoutTest, TextInAnyScriptAFontCoversIsDrawnWithRealGlyphs) {
  // DejaVu (installed with the program's packages) covers these; a missing glyph is a box.
  const CaptionLayout european =
      CaptionLayout::Fit(QStringLiteral("Ça été déjà vu, Øresund, Γειά σου κόσμε, Привет мир"), Sized(14), 100);
  EXPECT_EQ(MissingGlyphs(european), 0);
  bool chineseFont = false;
  for (const QString& family : QFontDatabase::families(QFontDatabase::SimplifiedChinese))
    chineseFont = chineseFont || !family.isEmpty();
  if (chineseFont) {
    const CaptionLayout chinese = CaptionLayout::Fit(QStringLiteral("你好，世界"), Sized(14), 100);
    EXPECT_EQ(MissingGlyphs(chinese), 0);
  }
}

TEST_F(CaptionLayoutTest, CaptionsStayInsideThePicture) {
  EXPECT_EQ(ClampCaptionPosition(QPoint(950, 10), QSize(100, 100), QSize(1000, 800)), QPoint(900, 10));
  EXPECT_EQ(ClampCaptionPosition(QPoint(-20, 760), QSize(100, 100), QSize(1000, 800)), QPoint(0, 700));
  EXPECT_EQ(ClampCaptionPosition(QPoint(30, 30), QSize(100, 100), QSize(60, 60)), QPoint(0, 0));
}

TEST_F(CaptionLayoutTest, ATalkingCaptionIsDrawnWhereItStandsAndNowhereElse) {
  ImageBitmap picture = FilledPicture(400, 300, kGrey);
  const ImageBitmap before = picture;
  Caption caption;
  caption.Shape = CaptionShape::Talking;
  caption.Font = Sized(10);
  ASSERT_EQ(BurnCaption(picture, caption, 100, QPointF(50, 40), 1.0), SUCCESS);
  const QImage& after = picture.Pixels;
  // The box and its tail are white; the tail's point reaches 25 below the box.
  EXPECT_EQ(after.pixel(100, 90), qRgb(255, 255, 255));
  const int tail = 50 + 75;
  EXPECT_EQ(after.pixel(tail + 10, 40 + 100 + 5), qRgb(255, 255, 255));
  EXPECT_LT(qRed(after.pixel(50, 60)), 40);  // the outline
  // Outside the shape, and beside the rounded corner, the picture is as it was.
  int changedOutside = 0;
  for (int y = 0; y < 300; ++y)
    for (int x = 0; x < 400; ++x) {
      const bool nearShape = x >= 49 && x <= 151 && y >= 39 && y <= 40 + 100 + 26;
      if (!nearShape && after.pixel(x, y) != before.Pixels.pixel(x, y)) ++changedOutside;
    }
  EXPECT_EQ(changedOutside, 0);
  EXPECT_EQ(after.pixel(51, 41), kGrey);
  EXPECT_EQ(after.pixel(tail + 20, 40 + 100 + 20), kGrey);
}

TEST_F(CaptionLayoutTest, ThePictureGetsWhatTheScreenShowedAtItsOwnScale) {
  // On screen at scale 1 over a 300 x 200 picture; into the 4 times larger picture at
  // scale 4. Reduced again, the two agree but for the edges' smoothing.
  Caption caption;
  caption.Shape = CaptionShape::Thinking;
  caption.Text = QStringLiteral("Look at this fish!");
  caption.Font = Sized(14);
  caption.Colour = QColor(200, 0, 0);
  ImageBitmap screen = FilledPicture(300, 200, kGrey);
  ASSERT_EQ(BurnCaption(screen, caption, 100, QPointF(20, 10), 1.0), SUCCESS);
  ImageBitmap full = FilledPicture(1200, 800, kGrey);
  ASSERT_EQ(BurnCaption(full, caption, 100, QPointF(80, 40), 4.0), SUCCESS);
  ASSERT_EQ(ResizeBitmap(full, 300, 200), SUCCESS);
  double difference = 0;
  int redOnScreen = 0, redInPicture = 0;
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 300; ++x) {
      const QRgb a = screen.Pixels.pixel(x, y), b = full.Pixels.pixel(x, y);
      difference += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
      redOnScreen += qRed(a) > 150 && qGreen(a) < 120;
      redInPicture += qRed(b) > 150 && qGreen(b) < 120;
    }
  EXPECT_LT(difference / (300 * 200 * 3), 3.0);
  EXPECT_GT(redOnScreen, 20);
  EXPECT_NEAR(redInPicture, redOnScreen, redOnScreen / 2);
}

TEST_F(CaptionLayoutTest, AYellowNoteOnAPalettePictureKeepsItsColour) {
  QImage grey(200, 150, QImage::Format_Grayscale8);
  grey.fill(90);
  ImageBitmap picture;
  SetBitmapImage(picture, grey);
  ASSERT_EQ(picture.BitsPerPixel, 8);
  Caption caption;
  caption.Shape = CaptionShape::StickyNote;
  ASSERT_EQ(BurnCaption(picture, caption, 100, QPointF(10, 10), 1.0), SUCCESS);
  EXPECT_EQ(picture.BitsPerPixel, 24);
  EXPECT_EQ(picture.Pixels.pixel(60, 60), kCaptionNoteColour);
  EXPECT_EQ(picture.Pixels.pixel(150, 140), qRgb(90, 90, 90));

  ImageBitmap empty;
  EXPECT_EQ(BurnCaption(empty, caption, 100, QPointF(), 1.0), ERROR_NO_BITMAP);
}
