#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>

#include "MainWindowFixture.h"
#include "myphotos/HintGeometry.h"

TEST_F(MainWindowFixture, HintsFitNarrowTextsAndWrapWideOnesAtWordsWithinTwoHundredPixels) {
  const QFontMetrics metrics(QGuiApplication::font());
  EXPECT_EQ(HintSize(metrics, ""), QSize(4, metrics.height() + 4));
  EXPECT_EQ(HintSize(metrics, "Sea"), QSize(metrics.horizontalAdvance("Sea") + 4, metrics.height() + 4));

  // The longest description there is, in words: wrapping at words takes more lines than
  // its width divided by 200, and every one of them shows.
  QString words;
  while (words.size() < 250) words += QStringLiteral("Grandmother's birthday ");
  words = words.left(255);
  const QSize size = HintSize(metrics, words);
  EXPECT_EQ(size.width(), 204);
  QLabel drawn(words);
  drawn.setWordWrap(true);
  drawn.setMargin(2);
  EXPECT_GE(size.height(), drawn.heightForWidth(204));
  EXPECT_GT(size.height(), (metrics.horizontalAdvance(words) / 200 + 1) * metrics.height() + 4);
}

TEST(HintGeometry, StaysInsideTheListBesideOrAboveTheCursor) {
  const QSize list(600, 400);
  const QSize hint(204, 47);
  EXPECT_EQ(HintPosition({100, 100}, hint, list), QPoint(100, 116));
  // Exactly touching the right or bottom edge still fits.
  EXPECT_EQ(HintPosition({396, 337}, hint, list), QPoint(396, 353));
  // Too far right: left of the cursor by its width plus 2.
  EXPECT_EQ(HintPosition({397, 100}, hint, list), QPoint(397 - 206, 116));
  // Too low: above the cursor by its height plus 2; both at once in the corner.
  EXPECT_EQ(HintPosition({100, 338}, hint, list), QPoint(100, 338 - 49));
  EXPECT_EQ(HintPosition({590, 390}, hint, list), QPoint(590 - 206, 390 - 49));
}
