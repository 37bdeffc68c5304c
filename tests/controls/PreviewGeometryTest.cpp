#include <climits>

#include <gtest/gtest.h>

#include "controls/PreviewGeometry.h"

TEST(PreviewGeometry, TargetIsTheClientLessFourPixelsEachSide) {
  EXPECT_EQ(PreviewTargetRect(QSize(200, 150)), QRect(4, 4, 192, 142));
  EXPECT_TRUE(PreviewTargetRect(QSize(8, 100)).isEmpty());
  EXPECT_TRUE(PreviewTargetRect(QSize(-5, -5)).isEmpty());
}

TEST(PreviewGeometry, SquarePictureInA200By150Client) {
  const QSize client(200, 150), square(40, 40);
  EXPECT_EQ(PreviewZoomRect(square, client, 1, QPoint()), QRect(25, 0, 150, 150));
  EXPECT_EQ(PreviewZoomRect(square, client, 2, QPoint()), QRect(-12, -37, 225, 225));
  EXPECT_EQ(PreviewZoomRect(square, client, 0, QPoint()), QRect(58, 33, 84, 84));
  EXPECT_EQ(PreviewZoomRect(QSize(400, 100), client, 1, QPoint()), QRect(0, 50, 200, 50));
  // The pan offset moves the centre.
  EXPECT_EQ(PreviewZoomRect(square, client, 1, QPoint(-10, 7)), QRect(15, 7, 150, 150));
}

TEST(PreviewGeometry, ExtremeValuesStayInRange) {
  EXPECT_TRUE(PreviewZoomRect(QSize(), QSize(200, 150), 1, QPoint()).isEmpty());
  EXPECT_TRUE(PreviewZoomRect(QSize(10, 10), QSize(0, 150), 1, QPoint()).isEmpty());
  EXPECT_TRUE(PreviewZoomRect(QSize(10, 10), QSize(200, 150), -100, QPoint()).isEmpty());
  const QRect huge = PreviewZoomRect(QSize(10, 10), QSize(200, 150), INT_MAX,
                                     QPoint(INT_MAX, INT_MIN));
  EXPECT_GT(qint64(huge.right()), qint64(huge.left()));
  // A very thin picture still gets at least a line rather than vanishing or dividing by 0.
  EXPECT_FALSE(PreviewZoomRect(QSize(INT_MAX, 1), QSize(200, 150), 1, QPoint()).isEmpty());
}
