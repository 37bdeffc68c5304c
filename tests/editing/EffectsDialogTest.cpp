// The Special Effects dialog as a user drives it, on a picture handed over by a target:
// choosing effects, previews on the background runner, Undo, Apply, and Close midway.

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>

#include "controls/PictureEditTarget.h"
#include "editing/CEffectsDialog.h"
#include "editing/EffectUndoStack.h"
#include "fil/ltfil.h"
#include "img/EffectTable.h"
#include "library/PhotoStore.h"
#include "library/Settings.h"
#include "controls/StoredPhotoEditTarget.h"
#include "support/ScriptedPrompter.h"
#include "support/TestFeatureHost.h"
#include "EditingDialogFixture.h"

namespace {
class EffectsDialog : public EditingDialogFixture {
 protected:
  void SetUp() override {
    ASSERT_TRUE(store->EnsureFolder());
    target.held = TestGradient(300, 200);
    original = target.held.Pixels;
  }

  std::unique_ptr<CEffectsDialog> Open() {
    auto dialog = std::make_unique<CEffectsDialog>(*host, target, &host->window);
    dialog->show();
    return dialog;
  }
  template <class T>
  static T* Control(CEffectsDialog& dialog, int id) {
    return dialog.findChild<T*>(QString::number(id));
  }
  static void Choose(CEffectsDialog& dialog, const char* name) {
    const auto items = Control<QListWidget>(dialog, 1002)->findItems(QString::fromLatin1(name), Qt::MatchExactly);
    ASSERT_EQ(items.size(), 1);
    Control<QListWidget>(dialog, 1002)->setCurrentItem(items.first());
  }
  static void Preview(CEffectsDialog& dialog) {
    QSignalSpy finished(&dialog, &CEffectsDialog::previewFinished);
    Control<QPushButton>(dialog, 1007)->click();
    if (dialog.previewRunning()) {
      ASSERT_TRUE(finished.wait(20000));
    }
  }

  QImage original;
};

}  // namespace

TEST_F(EffectsDialog, EachEffectShowsTheControlsItUses) {
  auto dialog = Open();
  auto* list = Control<QListWidget>(*dialog, 1002);
  ASSERT_EQ(list->count(), 17);
  EXPECT_EQ(list->item(0)->text(), "Brightness");
  EXPECT_EQ(list->item(16)->data(Qt::UserRole).toInt(), 113);
  auto* slider = Control<QSlider>(*dialog, 1015);
  auto* value = Control<QLabel>(*dialog, 1016);
  auto* label = Control<QLabel>(*dialog, 1014);
  auto* options = Control<QComboBox>(*dialog, 1017);
  EXPECT_FALSE(slider->isVisible());
  EXPECT_FALSE(options->isVisible());
  EXPECT_FALSE(Control<QPushButton>(*dialog, 1009)->isEnabled());
  EXPECT_FALSE(Control<QPushButton>(*dialog, 1008)->isEnabled());

  Choose(*dialog, "Add noise");
  EXPECT_TRUE(slider->isVisible());
  EXPECT_EQ(slider->minimum(), 0);
  EXPECT_EQ(slider->maximum(), 1000);
  EXPECT_EQ(value->text(), "50.0");
  EXPECT_EQ(options->count(), 4);
  EXPECT_EQ(options->currentText(), "Master Channel");
  slider->setValue(995);
  EXPECT_EQ(value->text(), "99.5");
  EXPECT_EQ(EffectValueFromText(value->text()), 99);

  Choose(*dialog, "Rotate");
  EXPECT_EQ(label->text(), "Number of degrees to rotate the image");
  EXPECT_EQ(value->text(), "90");
  EXPECT_FALSE(options->isVisible());
  EXPECT_EQ(options->count(), 0);

  Choose(*dialog, "Spatial Filter");
  EXPECT_TRUE(label->isVisible());
  EXPECT_EQ(label->text(), "Spatial Filters");
  EXPECT_FALSE(slider->isVisible());
  EXPECT_FALSE(value->isVisible());
  EXPECT_EQ(options->count(), kSpatialFilterCount);

  Choose(*dialog, "Invert Colors");
  EXPECT_FALSE(label->isVisible());
  EXPECT_FALSE(slider->isVisible());
  EXPECT_EQ(Control<QLabel>(*dialog, 1010)->text(),
            "Reverse the colors of the image (like the negative of a photograph)");
}

TEST_F(EffectsDialog, PreviewsStepBackToTheOpeningPictureAndApplyHandsTheResultOver) {
  auto dialog = Open();
  // A preview with no effect chosen is a step that changes nothing.
  Preview(*dialog);
  EXPECT_EQ(dialog->undoStack().Count(), 2);
  EXPECT_EQ(dialog->workingPicture().Pixels, original);
  EXPECT_TRUE(Control<QPushButton>(*dialog, 1009)->isEnabled());

  Choose(*dialog, "Invert Colors");
  Preview(*dialog);
  const QImage inverted = dialog->workingPicture().Pixels;
  EXPECT_EQ(qRed(inverted.pixel(0, 0)), 255 - qRed(original.pixel(0, 0)));
  Choose(*dialog, "Rotate");
  Preview(*dialog);
  EXPECT_EQ(dialog->workingPicture().Width, 200);
  // The caller's picture is only written by Apply.
  EXPECT_EQ(target.held.Pixels, original);
  EXPECT_EQ(target.changes, 0);

  Control<QPushButton>(*dialog, 1009)->click();
  EXPECT_EQ(dialog->workingPicture().Pixels, inverted);
  Control<QPushButton>(*dialog, 1009)->click();
  Control<QPushButton>(*dialog, 1009)->click();
  EXPECT_EQ(dialog->workingPicture().Pixels, original);
  EXPECT_FALSE(Control<QPushButton>(*dialog, 1009)->isEnabled());
  EXPECT_FALSE(Control<QPushButton>(*dialog, 1008)->isEnabled());

  // Double clicks preview only the effects without a value.
  Choose(*dialog, "Gray Scale");
  QSignalSpy finished(dialog.get(), &CEffectsDialog::previewFinished);
  auto* list = Control<QListWidget>(*dialog, 1002);
  emit list->itemDoubleClicked(list->currentItem());
  ASSERT_TRUE(finished.count() > 0 || finished.wait(20000));
  EXPECT_EQ(dialog->workingPicture().BitsPerPixel, 8);
  Choose(*dialog, "Blur");
  emit list->itemDoubleClicked(list->currentItem());
  EXPECT_EQ(dialog->undoStack().Count(), 2);

  Control<QPushButton>(*dialog, 1008)->click();
  EXPECT_EQ(target.changes, 1);
  EXPECT_EQ(target.held.BitsPerPixel, 8);
  EXPECT_EQ(target.held.Pixels, dialog->workingPicture().Pixels);
  // Apply makes the result the new entry 0: nothing to undo until the next preview.
  EXPECT_EQ(dialog->undoStack().Count(), 1);
  EXPECT_FALSE(Control<QPushButton>(*dialog, 1009)->isEnabled());

  // A click on the preview shows the working picture full size.
  QTest::mouseClick(Control<QWidget>(*dialog, 1006), Qt::LeftButton);
  EXPECT_EQ(host->viewed, QStringList{"Your Photo"});
}

TEST_F(EffectsDialog, CloseDuringAPreviewStopsItAndLeavesThePicturesAsTheyWere) {
  target.held = TestGradient(3000, 2000);
  original = target.held.Pixels;
  auto dialog = Open();
  Choose(*dialog, "Reduce noise");
  Control<QSlider>(*dialog, 1015)->setValue(16);
  Control<QPushButton>(*dialog, 1007)->click();
  ASSERT_TRUE(dialog->previewRunning());
  // The window goes on answering while the effect runs, and the bar moves.
  auto* bar = Control<QProgressBar>(*dialog, 1119);
  ASSERT_TRUE(QTest::qWaitFor([&] { return bar->value() > 0 || !dialog->previewRunning(); }, 20000));
  EXPECT_FALSE(Control<QPushButton>(*dialog, 1007)->isEnabled());
  Control<QPushButton>(*dialog, 1)->click();
  EXPECT_FALSE(dialog->isVisible());
  const QImage working = dialog->workingPicture().Pixels;
  dialog.reset();
  ASSERT_TRUE(QTest::qWaitFor([&] { return host->runner.runningCount() == 0; }, 20000));
  EXPECT_EQ(working, original);
  EXPECT_EQ(target.held.Pixels, original);
  EXPECT_EQ(target.changes, 0);
}

TEST(EffectUndoStack, KeepsWithinItsBudgetAndAlwaysReachesTheOpeningPicture) {
  const ImageBitmap opening = TestGradient(100, 100);  // 40 000 bytes a picture
  EffectUndoStack stack(10 * 40000);
  stack.Reset(opening);
  // As the dialog pushes: the picture before each preview, the first being the opening one.
  ImageBitmap working = opening;
  for (int step = 1; step <= 200; ++step) {
    stack.Push(working);
    working = TestGradient(100, 100);
    FillBitmap(working, qRgb(step, 0, 0));
    ASSERT_LE(stack.HeldBytes(), 10 * 40000);
  }
  EXPECT_EQ(stack.Count(), 11);
  EXPECT_EQ(stack.DroppedSteps(), 190);
  // The newest steps are kept, in order, and the last Undo gives the opening picture.
  for (int step = 199; step > 190; --step) EXPECT_EQ(qRed(stack.Pop().Pixels.pixel(0, 0)), step);
  EXPECT_EQ(stack.Pop().Pixels, opening.Pixels);
  EXPECT_FALSE(stack.CanUndo());
  EXPECT_EQ(stack.Entry(0).Pixels, opening.Pixels);
  // A budget too small for two pictures still keeps the opening one and the newest step.
  EffectUndoStack tiny(1);
  tiny.Reset(opening);
  tiny.Push(opening);
  tiny.Push(TestGradient(100, 100));
  tiny.Push(TestGradient(100, 100));
  EXPECT_EQ(tiny.Count(), 3);
  EXPECT_GE(EffectUndoStack::DefaultBudget(), 256 * 1024 * 1024);
}

TEST_F(EffectsDialog, AStoredPhotoIsStoredAgainWithItsDescriptionOnApply) {
  ImageBitmap photo = TestGradient(320, 240);
  ASSERT_EQ(store->StorePhoto(photo, "Garden", "Our garden in May"), SUCCESS);
  std::unique_ptr<StoredPhotoEditTarget> garden = StoredPhotoEditTarget::Open(*host, "Garden");
  ASSERT_NE(garden, nullptr);
  EXPECT_EQ(host->working.Width, 320);
  {
    CEffectsDialog dialog(*host, *garden, &host->window);
    dialog.show();
    Choose(dialog, "Invert Colors");
    Preview(dialog);
    Control<QPushButton>(dialog, 1008)->click();
  }
  garden.reset();
  EXPECT_FALSE(host->working.hasPixels());
  ImageBitmap stored;
  ASSERT_EQ(store->LoadPhoto(stored, "Garden"), SUCCESS);
  EXPECT_GT(qRed(stored.Pixels.pixel(2, 120)), 240);  // was near black on the left
  EXPECT_EQ(store->ReadDescription("Garden"), "Our garden in May");

  // A photo that cannot be decoded is told and opens nothing.
  QFile damaged(store->PhotoPath("Garden"));
  ASSERT_TRUE(damaged.open(QIODevice::WriteOnly | QIODevice::Truncate));
  damaged.write("not a picture");
  damaged.close();
  EXPECT_EQ(StoredPhotoEditTarget::Open(*host, "Garden"), nullptr);
  ASSERT_EQ(prompter.prompts().size(), 1);
  EXPECT_EQ(prompter.prompts()[0].kind, ScriptedPrompter::Kind::Error);
  EXPECT_TRUE(prompter.prompts()[0].text.startsWith("The photo 'Garden' could not be opened"));
}

TEST_F(EffectsDialog, ScreenshotsOfThreeEffects) {
  // A photo-like picture: a shipped one, else a gradient.
  ImageBitmap picture;
  FileInfo ignored;
  if (LoadPictureFile(QString::fromUtf8(BRIVANE_PROGRAM_DIR) + "Magazine.jpg", picture, ignored) != SUCCESS)
    picture = TestGradient(600, 400);
  target.held = picture;
  auto dialog = Open();
  const QString folder = QString::fromUtf8(BRIVANE_SCREENSHOT_DIR);
  ASSERT_TRUE(QDir().mkpath(folder));
  const std::pair<const char*, const char*> shots[] = {
      {"Emboss", "effects-emboss.png"}, {"Oil Painting", "effects-oil-painting.png"}, {"Hue", "effects-hue.png"}};
  for (const auto& [effect, file] : shots) {
    Choose(*dialog, effect);
    Preview(*dialog);
    QApplication::processEvents();
    EXPECT_TRUE(dialog->grab().save(folder + file)) << file;
    // Each shot shows one effect on the picture as opened.
    Control<QPushButton>(*dialog, 1009)->click();
  }
  EXPECT_EQ(dialog->undoStack().Count(), 1);
}
