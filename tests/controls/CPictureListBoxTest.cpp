#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QScrollBar>
#include <QTest>

#include "ControlsTestApp.h"
#include "controls/CPictureListBox.h"
#include "controls/CPictureListBoxDelegate.h"
#include "controls/PictureListGeometry.h"
#include "library/PhotoListModel.h"

TEST(PictureListGeometry, PictureCentredTwoPixelsBelowTheTopWithTextUnderIt) {
  const QRect item(128, 125, 128, 125);
  EXPECT_EQ(PictureListPictureRect(item, QSize(100, 75)), QRect(142, 127, 100, 75));
  EXPECT_EQ(PictureListPictureRect(item, QSize(75, 100)), QRect(154, 127, 75, 100));
  // Wider than the item: centred all the same, overhanging both sides equally.
  EXPECT_EQ(PictureListPictureRect(item, QSize(148, 10)), QRect(118, 127, 148, 10));

  EXPECT_EQ(PictureListTextRect(item, 75), QRect(130, 204, 124, 46));
  EXPECT_EQ(PictureListTextRect(item, 0), QRect(130, 127, 124, 123));
  EXPECT_TRUE(PictureListTextRect(item, 200).isEmpty());

  EXPECT_EQ(PictureListColumnWidth(7), 120);
  EXPECT_EQ(PictureListColumnWidth(8), 128);
  EXPECT_EQ(PictureListColumnWidth(0), 120);
}

TEST(PictureListGeometry, AmpersandsShowAsThemselves) {
  EXPECT_EQ(PictureListDisplayText("Tom && Jerry"), "Tom & Jerry");
  EXPECT_EQ(PictureListDisplayText("Salt & Pepper"), "Salt & Pepper");
  EXPECT_EQ(PictureListDisplayText("a&&&b&"), "a&&b&");
  EXPECT_EQ(PictureListDisplayText(""), "");
}

namespace {
const QRgb kBase = qRgb(240, 240, 200);
const QRgb kHighlight = qRgb(10, 60, 160);
const QRgb kPictureColour = qRgb(200, 40, 40);

class CPictureListBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int i = 0; i < 5; ++i) {
      auto item = std::make_shared<PhotoItem>();
      item->Thumbnail = SolidPicture(100, 75, i == 1 ? qRgb(255, 255, 255) : kPictureColour);
      model.append(QString("Photo %1").arg(i), item);
    }
    QPalette palette = list.palette();
    palette.setColor(QPalette::Base, QColor(kBase));
    palette.setColor(QPalette::Highlight, QColor(kHighlight));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    list.setPalette(palette);
    list.setColumnWidth(128);
    list.setModel(&model);
    // Room for two items a column, and a scroll bar below.
    list.resize(300, 280);
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
  }

  QPoint CentreOf(int row) const { return list.visualRect(model.index(row)).center(); }
  void MoveTo(QPoint at) {
    QMouseEvent move(QEvent::MouseMove, at, list.viewport()->mapToGlobal(at), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(list.viewport(), &move);
  }
  QImage Shown() { return list.viewport()->grab().toImage(); }

  // Made before the list, which needs it.
  QApplication* application = ControlsTestApp();
  PhotoListModel model;
  CPictureListBox list;
};
}  // namespace

TEST_F(CPictureListBoxTest, FlowsDownThenIntoNewColumns) {
  EXPECT_EQ(list.visualRect(model.index(0)), QRect(0, 0, 128, 125));
  EXPECT_EQ(list.visualRect(model.index(1)), QRect(0, 125, 128, 125));
  EXPECT_EQ(list.visualRect(model.index(2)), QRect(128, 0, 128, 125));
  EXPECT_EQ(list.visualRect(model.index(4)).left(), 256);
  EXPECT_TRUE(list.horizontalScrollBar()->isVisible());
  EXPECT_FALSE(list.verticalScrollBar()->isVisible());
}

TEST_F(CPictureListBoxTest, ReportsEnterSpaceAndDeleteAndLeavesThemAlone) {
  QSignalSpy keys(&list, &CPictureListBox::keyNotified);
  list.setCurrentRow(2);
  for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space, Qt::Key_Delete})
    QTest::keyClick(&list, key);
  ASSERT_EQ(keys.count(), 4);
  EXPECT_EQ(keys[0][0].toInt(), int(Qt::Key_Return));
  EXPECT_EQ(keys[1][0].toInt(), int(Qt::Key_Enter));
  EXPECT_EQ(keys[2][0].toInt(), int(Qt::Key_Space));
  EXPECT_EQ(keys[3][0].toInt(), int(Qt::Key_Delete));
  EXPECT_EQ(list.currentRow(), 2);
  // Other keys still move the selection.
  QTest::keyClick(&list, Qt::Key_Down);
  EXPECT_EQ(list.currentRow(), 3);
  EXPECT_EQ(keys.count(), 4);
}

TEST_F(CPictureListBoxTest, RightClickSelectsTheItemFirst) {
  list.setCurrentRow(0);
  int selectedWhenNotified = -2;
  QObject::connect(&list, &CPictureListBox::rightClicked,
                   [&](int row, QPoint) { selectedWhenNotified = list.currentRow() == row ? row : -3; });
  QTest::mouseClick(list.viewport(), Qt::RightButton, Qt::NoModifier, CentreOf(3));
  EXPECT_EQ(selectedWhenNotified, 3);
  EXPECT_EQ(list.currentRow(), 3);
  // Over no item the selection stays.
  QTest::mouseClick(list.viewport(), Qt::RightButton, Qt::NoModifier, QPoint(290, 200));
  EXPECT_EQ(selectedWhenNotified, 3);
}

TEST_F(CPictureListBoxTest, HoverReportsOnlyWithTheHintFlag) {
  QSignalSpy hover(&list, &CPictureListBox::hoverIndex);
  MoveTo(CentreOf(1));
  EXPECT_EQ(hover.count(), 0);
  list.setHintEnabled(true);
  MoveTo(CentreOf(1));
  MoveTo(CentreOf(4));
  MoveTo(QPoint(290, 200));
  MoveTo(QPoint(291, 201));
  ASSERT_EQ(hover.count(), 4);
  EXPECT_EQ(hover[0][0].toInt(), 1);
  EXPECT_EQ(hover[1][0].toInt(), 4);
  EXPECT_EQ(hover[2][0].toInt(), -1);
  EXPECT_EQ(hover[3][0].toInt(), -1);
}

TEST_F(CPictureListBoxTest, DrawsPicturesAndSelection) {
  list.setCurrentRow(2);
  QImage shown = Shown();
  // Item 0: picture at (14, 2), 100 x 75, on the list's background.
  EXPECT_EQ(PixelAt(shown, 14, 2), kPictureColour);
  EXPECT_EQ(PixelAt(shown, 113, 76), kPictureColour);
  EXPECT_EQ(PixelAt(shown, 13, 2), kBase);
  EXPECT_EQ(PixelAt(shown, 14, 1), kBase);
  EXPECT_EQ(PixelAt(shown, 14, 77), kBase);
  // Item 2 (selected): highlight around its picture.
  EXPECT_EQ(PixelAt(shown, 130, 1), kHighlight);
  EXPECT_EQ(PixelAt(shown, 128 + 14, 2), kPictureColour);
  EXPECT_EQ(PixelAt(shown, 255, 120), kHighlight);
  // The white picture of item 1 is drawn white.
  EXPECT_EQ(PixelAt(shown, 60, 160), qRgb(255, 255, 255));

  list.setTransparentWhite(true);
  list.setCurrentRow(1);
  shown = Shown();
  // White shows what is under it: the selection colour here.
  EXPECT_EQ(PixelAt(shown, 60, 160), kHighlight);
  EXPECT_EQ(PixelAt(shown, 14, 2), kPictureColour);
  list.setCurrentRow(0);
  shown = Shown();
  EXPECT_EQ(PixelAt(shown, 60, 160), kBase);
}

TEST_F(CPictureListBoxTest, ShowsPicturesItsOwnerKeepsAndItemsWithout) {
  const ImageBitmap frame = SolidPicture(64, 48, qRgb(0, 128, 0));
  QStandardItemModel other;
  auto* framed = new QStandardItem("Frame");
  framed->setData(QVariant::fromValue(&frame), PhotoListModel::PictureRole);
  other.appendRow(framed);
  other.appendRow(new QStandardItem("No picture"));
  list.setModel(&other);
  ASSERT_NE(CPictureListBoxDelegate::PictureOf(other.index(0, 0)).bitmap, nullptr);
  QCoreApplication::processEvents();
  const QImage shown = Shown();
  EXPECT_EQ(PixelAt(shown, 32, 2), qRgb(0, 128, 0));
  EXPECT_EQ(PixelAt(shown, 95, 49), qRgb(0, 128, 0));
  EXPECT_EQ(PixelAt(shown, 96, 49), kBase);
  // An item without a picture shows only its text, from the top.
  EXPECT_EQ(PixelAt(shown, 64, 160), kBase);
  list.setModel(&model);
}
