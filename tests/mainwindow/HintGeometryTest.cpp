#include <gtest/gtest.h>

#include "mainwindow/HintGeometry.h"

TEST(HintGeometry, NarrowTextsFitTheirExtentAndWideOnesWrapAt200) {
  EXPECT_EQ(HintSize(0, 13), QSize(4, 17));
  EXPECT_EQ(HintSize(199, 13), QSize(203, 17));
  // From 200 on the hint is 204 wide, one line per started 200 pixels (plus one when exact).
  EXPECT_EQ(HintSize(200, 13), QSize(204, 2 * 13 + 4));
  EXPECT_EQ(HintSize(399, 13), QSize(204, 2 * 13 + 4));
  EXPECT_EQ(HintSize(1010, 15), QSize(204, 6 * 15 + 4));
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
