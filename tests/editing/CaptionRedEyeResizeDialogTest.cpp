// Caption, Correct Red Eye and Resize as a user drives them.

#include <gtest/gtest.h>

#include <QColorDialog>
#include <QFontDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "EditingDialogFixture.h"
#include "controls/CScrollImageView.h"
#include "editing/CCaptionDialog.h"
#include "editing/CCaptionView.h"
#include "editing/CCaptionWindow.h"
#include "editing/CRedEyeDialog.h"
#include "editing/CResizeDialog.h"

namespace {
const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kRed = qRgb(200, 30, 30);

class SmallEditingDialogs : public EditingDialogFixture {
 protected:
  void SetUp() override { qputenv("BRIVANE_PROGRAM_FOLDER", QByteArray(BRIVANE_PROGRAM_DIR)); }
  void TearDown() override { qunsetenv("BRIVANE_PROGRAM_FOLDER"); }
};
}  // namespace

TEST_F(SmallEditingDialogs, ACaptionLandsWhereItWasDraggedOnTheScrolledReducedView) {
  // 2560 x 1600: the view shows it at 1280 x 800, so each unit there is 2 pixels here.
  target.held = TestGradient(2560, 1600);
  const QImage original = target.held.Pixels;
  CCaptionDialog dialog(*host, target, &host->window);
  dialog.resize(760, 560);
  dialog.show();
  dialog.findChild<QPlainTextEdit*>("1075")->setPlainText(QStringLiteral("Grüße aus Köln"));
  dialog.findChild<QListWidget*>("1074")->setCurrentRow(1);
  dialog.setFontAndColour(QFont(QStringLiteral("DejaVu Sans"), 11), QColor(0, 0, 255));
  EXPECT_EQ(dialog.caption().Shape, CaptionShape::Talking);
  CCaptionWindow* caption = dialog.view()->captionWindow();
  ASSERT_NE(caption, nullptr);
  EXPECT_EQ(caption->position(), QPoint(0, 0));

  // Dragged past the far corner it stops at the picture's edge, however large the view.
  Drag(caption, QPoint(20, 20), QPoint(5000, 5000));
  EXPECT_EQ(caption->position(), QPoint(1280, 800) - QPoint(caption->width(), caption->layout().box().height()));
  Drag(caption, QPoint(20, 20), QPoint(-5000, -5000));
  EXPECT_EQ(caption->position(), QPoint(0, 0));

  // Scrolled, the window stands where its place shows, and drags from there.
  Drag(caption, QPoint(20, 20), QPoint(300, 200));
  dialog.view()->setScrollPosition(QPoint(250, 150));
  ASSERT_EQ(dialog.view()->scrollPosition(), QPoint(250, 150));
  EXPECT_EQ(caption->pos(), QPoint(50, 50));
  Drag(caption, QPoint(20, 20), QPoint(30, -10));
  EXPECT_EQ(caption->position(), QPoint(330, 190));
  const QRectF box = dialog.captionRectInPicture();
  EXPECT_EQ(box.topLeft(), QPointF(660, 380));
  EXPECT_EQ(box.size(), QSizeF(caption->layout().box()) * 2);
  Shot(dialog, "caption-dialog.png");

  dialog.findChild<QPushButton*>("1")->click();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  ASSERT_EQ(target.changes, 1);
  const QImage& result = target.held.Pixels;
  ASSERT_EQ(result.size(), original.size());
  // Above the centred text the box is white; the text is blue; far away nothing changed.
  EXPECT_EQ(result.pixel(int(box.center().x()), int(box.top()) + 20), kWhite);
  int blue = 0;
  for (int y = int(box.top()); y < int(box.bottom()); ++y)
    for (int x = int(box.left()); x < int(box.right()); ++x) {
      const QRgb pixel = result.pixel(x, y);
      blue += qBlue(pixel) > 180 && qRed(pixel) < 90 && qGreen(pixel) < 90;
    }
  EXPECT_GT(blue, 200);
  EXPECT_EQ(result.pixel(2000, 1400), original.pixel(2000, 1400));
  EXPECT_EQ(result.pixel(int(box.left()) - 3, int(box.top()) + 10), original.pixel(int(box.left()) - 3, int(box.top()) + 10));
}

TEST_F(SmallEditingDialogs, CaptionFontAndColourComeFromTheDesktopsDialogsAndCancelChangesNothing) {
  target.held = TestGradient(600, 400);
  const QImage original = target.held.Pixels;
  CCaptionDialog dialog(*host, target, &host->window);
  dialog.show();
  auto* text = dialog.findChild<QPlainTextEdit*>("1075");
  text->setPlainText(QStringLiteral("Hello"));
  const QSize before = dialog.view()->captionWindow()->layout().box();

  // The font dialog takes a large font; the colour dialog is cancelled, so black stays.
  QTimer::singleShot(50, &dialog, [] {
    auto* fonts = qobject_cast<QFontDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(fonts, nullptr);
    fonts->setCurrentFont(QFont(QStringLiteral("DejaVu Serif"), 40));
    QTimer::singleShot(50, [] {
      auto* colours = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(colours, nullptr);
      colours->reject();
    });
    fonts->accept();
  });
  dialog.findChild<QPushButton*>("1202")->click();
  EXPECT_EQ(dialog.caption().Font.pointSize(), 40);
  EXPECT_EQ(dialog.caption().Colour, QColor(Qt::black));
  EXPECT_EQ(text->font().family(), QStringLiteral("DejaVu Serif"));
  EXPECT_GT(dialog.view()->captionWindow()->layout().box().width(), before.width());

  dialog.findChild<QPushButton*>("2")->click();
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  EXPECT_EQ(target.changes, 0);
  EXPECT_EQ(target.held.Pixels, original);
}

TEST_F(SmallEditingDialogs, ARedEyeDrawnBackwardsOnAScrolledViewIsCorrectedOnlyInsideItsEllipse) {
  // A grey picture with a red pupil far from the top-left.
  QImage image(900, 700, QImage::Format_RGB32);
  image.fill(qRgb(120, 120, 120));
  const QPoint eye(700, 550);
  for (int y = -25; y <= 25; ++y)
    for (int x = -25; x <= 25; ++x)
      if (x * x + y * y <= 625) image.setPixel(eye + QPoint(x, y), kRed);
  SetBitmapImage(target.held, image);

  for (bool keep : {false, true}) {
    CRedEyeDialog dialog(*host, target, &host->window);
    dialog.resize(560, 420);
    dialog.show();
    QApplication::processEvents();
    auto* correct = dialog.findChild<QPushButton*>("1089");
    EXPECT_FALSE(correct->isEnabled());
    dialog.view()->setScrollPosition(QPoint(400, 350));
    const QPoint scroll = dialog.view()->scrollPosition();
    ASSERT_GT(scroll.x(), 0);
    ASSERT_GT(scroll.y(), 0);
    // From below right to above left of the pupil.
    Drag(dialog.view()->viewport(), eye + QPoint(30, 30) - scroll, QPoint(-60, -60));
    EXPECT_EQ(dialog.ellipse(), QRect(eye - QPoint(30, 30), QSize(60, 60)));
    EXPECT_TRUE(correct->isEnabled());
    if (keep) Shot(dialog, "red-eye-dialog.png");
    correct->click();
    EXPECT_FALSE(correct->isEnabled());
    EXPECT_EQ(target.held.Pixels, image);  // the caller's picture waits for OK
    dialog.findChild<QPushButton*>(keep ? "1" : "2")->click();
  }
  ASSERT_EQ(target.changes, 1);
  const QImage& result = target.held.Pixels;
  EXPECT_EQ(result.pixel(eye), qRgb(217, 95, 95));
  EXPECT_EQ(result.pixel(eye + QPoint(20, 0)), qRgb(217, 95, 95));
  EXPECT_EQ(result.pixel(eye + QPoint(26, 26)), qRgb(120, 120, 120) | qRgb(120, 120, 120));
  for (const QPoint outside : {QPoint(10, 10), eye + QPoint(-32, 0), eye + QPoint(0, 32)})
    EXPECT_EQ(result.pixel(outside), image.pixel(outside));
}

TEST_F(SmallEditingDialogs, ResizeTakesAPresetOrAnOwnSizeAndRefusesImpossibleSizes) {
  target.held = TestGradient(1000, 500);
  {
    CResizeDialog dialog(*host, target, &host->window);
    dialog.show();
    EXPECT_FALSE(dialog.findChild<QPushButton*>("1")->isEnabled());
    EXPECT_FALSE(dialog.findChild<QLineEdit*>("1250")->isEnabled());
    dialog.findChild<QRadioButton*>("1245")->click();
    Shot(dialog, "resize-dialog.png");
    dialog.findChild<QPushButton*>("1")->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
  }
  EXPECT_EQ(target.held.shownSize(), QSize(800, 600));
  EXPECT_EQ(target.changes, 1);

  target.held = TestGradient(1000, 500);
  CResizeDialog dialog(*host, target, &host->window);
  dialog.show();
  dialog.findChild<QRadioButton*>("1255")->click();
  auto* width = dialog.findChild<QLineEdit*>("1250");
  auto* height = dialog.findChild<QLineEdit*>("1251");
  EXPECT_EQ(dialog.findChild<QLineEdit*>("1253")->text(), "2.000000");
  // Typed, then the field left (as Tab or a click elsewhere does).
  auto type = [](QLineEdit* field, const QString& text) {
    field->setText(text);
    emit field->editingFinished();
  };
  type(width, QStringLiteral("400"));
  EXPECT_EQ(height->text(), "200");
  type(width, QStringLiteral("4x0"));
  ASSERT_FALSE(prompter.prompts().isEmpty());
  EXPECT_EQ(prompter.prompts().last().text, "Please enter an integer.");

  // Sizes no picture can have: refused with the limit, the dialog stays, nothing changed.
  for (const char* wrong : {"0", "70000"}) {
    type(width, QString::fromLatin1(wrong));
    dialog.findChild<QPushButton*>("1")->click();
    EXPECT_TRUE(prompter.prompts().last().text.contains("from 1 to 65535 pixels")) << wrong;
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(target.held.shownSize(), QSize(1000, 500));
  }
  type(width, QStringLiteral("300"));
  EXPECT_EQ(height->text(), "150");
  // A preset chosen after an own size wins.
  dialog.findChild<QRadioButton*>("1243")->click();
  dialog.findChild<QPushButton*>("1")->click();
  EXPECT_EQ(target.held.shownSize(), QSize(640, 400));
  EXPECT_EQ(target.changes, 2);
}
