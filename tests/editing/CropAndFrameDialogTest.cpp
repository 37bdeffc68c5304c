// Crop and Frame as a user drives them: shapes, sizes, dragging, zooming, OK and Cancel.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>

#include "controls/CPictureListBox.h"
#include "controls/CPicturePreview.h"
#include "controls/PictureEditTarget.h"
#include "editing/CCropDialog.h"
#include "editing/CFrameDialog.h"
#include "editing/CFramePage.h"
#include "editing/CFramePicker.h"
#include "editing/CropGeometry.h"
#include "library/PhotoListModel.h"
#include "library/PhotoStore.h"
#include "library/Settings.h"
#include "support/ScriptedPrompter.h"
#include "support/TestFeatureHost.h"
#include "EditingDialogFixture.h"

namespace {
const QRgb kWhite = qRgb(255, 255, 255);

class CropAndFrame : public EditingDialogFixture {
 protected:
  void SetUp() override {
    // The shipped frames, edges, shape pictures and cursors of the build.
    qputenv("BRIVANE_PROGRAM_FOLDER", QByteArray(BRIVANE_PROGRAM_DIR));
    target.held = TestGradient(1200, 900, true);
  }
  void TearDown() override { qunsetenv("BRIVANE_PROGRAM_FOLDER"); }

};
}  // namespace

TEST_F(CropAndFrame, ACircleCropKeepsWhatTheOutlineShowedAfterADrag) {
  const QImage original = target.held.Pixels;
  CCropDialog dialog(*host, target, &host->window);
  dialog.show();
  QApplication::processEvents();
  auto* shapes = dialog.findChild<QListWidget*>("1018");
  ASSERT_EQ(shapes->count(), 6);
  shapes->setCurrentRow(5);  // Circle
  EXPECT_EQ(dialog.heightFactor(), 10);
  EXPECT_EQ(dialog.findChild<QSpinBox*>("1032")->value(), 10);
  dialog.findChild<QSpinBox*>("1032")->setValue(5);
  EXPECT_EQ(dialog.widthFactor(), 5);
  QWidget* preview = dialog.findChild<QWidget*>("1006");
  QTest::qWait(50);
  // Each drag starts from the centred picture.
  Drag(preview, QPoint(100, 100), QPoint(80, 0));
  Drag(preview, QPoint(100, 100), QPoint(-60, -30));
  EXPECT_EQ(dialog.preview()->panOffset(), QPoint(-60, -30));
  const QRect shape = dialog.shapeRect();
  Shot(dialog, "crop-circle-dragged.png");
  dialog.findChild<QPushButton*>("1")->click();

  ASSERT_EQ(target.changes, 1);
  const QImage cropped = target.held.Pixels.convertToFormat(QImage::Format_RGB32);
  const QRect source = CropSourceRect(original.size(), preview->size(), dialog.preview()->drawnSize(), QPoint(-60, -30));
  ASSERT_EQ(cropped.size(), source.size());
  // The centre of the shape, and a point just inside its edge, come from under the outline.
  for (QPoint at : {shape.center(), QPoint(shape.center().x(), shape.top() + 6)})
    EXPECT_EQ(cropped.pixel(at - source.topLeft()), original.pixel(at)) << at.x() << "," << at.y();
  EXPECT_EQ(cropped.pixel(shape.topLeft() - source.topLeft() + QPoint(2, 2)), kWhite);
  EXPECT_EQ(cropped.pixel(0, 0), kWhite);
  EXPECT_TRUE(cropped.save(QString::fromUtf8(BRIVANE_SCREENSHOT_DIR) + "crop-circle-result.png"));
}

TEST_F(CropAndFrame, CropWithoutAShapeKeepsTheVisibleAreaAndCancelNothing) {
  const QImage original = target.held.Pixels;
  {
    CCropDialog dialog(*host, target, &host->window);
    dialog.show();
    dialog.findChild<QSpinBox*>("1031")->setValue(15);
    dialog.reject();
  }
  EXPECT_EQ(target.held.Pixels, original);
  EXPECT_EQ(target.changes, 0);
  CCropDialog dialog(*host, target, &host->window);
  dialog.show();
  QApplication::processEvents();
  dialog.accept();
  ASSERT_EQ(target.changes, 1);
  // The visible area is the whole picture (and the bands beside it): nothing is blank.
  const QRect source = CropSourceRect(original.size(), dialog.preview()->size(), dialog.preview()->drawnSize(), QPoint());
  EXPECT_EQ(target.held.Pixels.pixel(600 - source.left(), 450 - source.top()) | 0xff000000u, original.pixel(600, 450));
}

TEST_F(CropAndFrame, FramesAndEdgesPutThePhotoBehindTheChosenFrame) {
  CFrameDialog dialog(*host, target, &host->window);
  dialog.show();
  QApplication::processEvents();
  CFramePicker& picker = *dialog.picker();
  ASSERT_GE(picker.frameCount(), 6);
  ASSERT_TRUE(picker.hasFrame());
  auto* list = picker.frameList();
  list->setCurrentRow(2);
  ASSERT_TRUE(picker.hasFrame());
  dialog.findChild<QPushButton*>("1177")->click();
  EXPECT_EQ(picker.preview()->zoomLevel(), 2);
  dialog.findChild<QPushButton*>("1178")->click();
  Drag(picker.preview(), QPoint(50, 50), QPoint(10, 5));
  Shot(dialog, "frame-dialog.png");

  dialog.tabs()->setCurrentIndex(1);
  EXPECT_EQ(picker.folder(), QString::fromUtf8(BRIVANE_PROGRAM_DIR) + "edges/");
  QStringList names;
  for (int row = 0; row < list->model()->rowCount(); ++row) names << list->model()->index(row, 0).data().toString();
  EXPECT_TRUE(names.contains("Torn Paper")) << names.join(", ").toStdString();
  list->setCurrentRow(int(names.indexOf("Torn Paper")));
  const QSize frameSize = picker.frame().Pixels.size();
  Shot(dialog, "frame-dialog-edges.png");
  dialog.findChild<QPushButton*>("1")->click();
  ASSERT_EQ(target.changes, 1);
  EXPECT_EQ(target.held.Pixels.size(), frameSize);
  const QString folder = QString::fromUtf8(BRIVANE_SCREENSHOT_DIR);
  EXPECT_TRUE(target.held.Pixels.save(folder + "frame-result-torn-paper.png"));
}

TEST_F(CropAndFrame, WithoutAFrameOkSaysWhyAndChangesNothing) {
  QTemporaryDir empty;
  const QImage original = target.held.Pixels;
  CFrameDialog dialog(*host, target, &host->window);
  dialog.setFolder(empty.path() + "/");
  dialog.show();
  EXPECT_EQ(dialog.picker()->frameCount(), 0);
  dialog.findChild<QPushButton*>("1")->click();
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(target.changes, 0);
  EXPECT_EQ(target.held.Pixels, original);
  ASSERT_EQ(prompter.prompts().size(), 1);
  EXPECT_TRUE(prompter.prompts()[0].text.startsWith("There are no frames in")) << prompter.prompts()[0].text.toStdString();
}

TEST_F(CropAndFrame, TheFramePageFramesTheWorkingPictureOnNext) {
  host->working = TestGradient(800, 600, true);
  CFramePage page(*host);
  page.setFolder(QString::fromUtf8(BRIVANE_PROGRAM_DIR) + "frames/");
  page.setCaption("Create a Sports Card");
  page.show();
  page.onSetActive();
  ASSERT_TRUE(page.picker()->hasFrame());
  page.onWizardNext();
  EXPECT_EQ(page.framedPicture().Pixels.size(), page.picker()->frame().Pixels.size());
  EXPECT_EQ(page.objectName(), "227");
}
