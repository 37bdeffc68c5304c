#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include <QApplication>
#include <QLabel>

#include "controls/CPicturePreview.h"
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include "library/StoreTestSupport.h"
#include "myphotos/CEditCommentDialog.h"
#include "myphotos/PhotoStoreCommands.h"
#include "support/ScriptedPrompter.h"

namespace {
// The application object of one test; none is made when another test's is alive.
std::unique_ptr<QApplication> MakeApplication() {
  static int argc = 1;
  static char name[] = "mainwindow_tests";
  static char* argv[] = {name, nullptr};
  if (QApplication::instance() != nullptr) return nullptr;
  return std::make_unique<QApplication>(argc, argv);
}

// Runs `action` on the Edit Comment dialog once it is up and modal.
void WhenEditCommentOpens(std::function<void(CEditCommentDialog&)> action) {
  auto* timer = new QTimer;
  timer->setInterval(5);
  QObject::connect(timer, &QTimer::timeout, [timer, action] {
    if (auto* dialog = qobject_cast<CEditCommentDialog*>(QApplication::activeModalWidget())) {
      timer->stop();
      timer->deleteLater();
      action(*dialog);
    }
  });
  timer->start();
}

template <typename T>
T* Control(QWidget& dialog, const char* id) {
  T* control = dialog.findChild<T*>(QString::fromLatin1(id));
  EXPECT_NE(control, nullptr) << id;
  return control;
}

class PhotoStoreCommandsTest : public ::testing::Test, public StoreFixture {
 protected:
  PhotoStoreCommandsTest() {
    EXPECT_EQ(Store("Tommy", "cat", 320, 200), SUCCESS);
    EXPECT_EQ(Store("Fish & Chips", "lunch", 320, 200), SUCCESS);
  }
  QStringList PromptTexts() const {
    QStringList texts;
    for (const auto& prompt : prompter.prompts()) texts << prompt.text;
    return texts;
  }

  std::unique_ptr<QApplication> application = MakeApplication();
  ScriptedPrompter prompter;
  PhotoStoreCommands commands{store, prompter, nullptr};
  ImageBitmap working;
};
}  // namespace

TEST_F(PhotoStoreCommandsTest, RenameAsksAgainUntilTheNameIsFree) {
  commands.renamePhoto("");
  prompter.reply(QString("tommy"));         // only the case differs: taken
  prompter.reply(QString("Fish"));          // Fish & Chips begins with it
  prompter.reply(QString("../Elsewhere"));  // would leave the folder
  prompter.reply(QString("  Sunset "));
  commands.renamePhoto("Tommy");

  const QStringList texts = PromptTexts();
  ASSERT_EQ(texts.size(), 8);
  EXPECT_EQ(texts[0], "Please select a photo to rename.");
  EXPECT_EQ(prompter.prompts()[1].caption, "Rename a photo");
  EXPECT_EQ(texts[1], "Type the new name of the photo");
  EXPECT_EQ(texts[2], "You already have a photo named 'tommy'.  Please type a different name.");
  EXPECT_EQ(texts[4], "You already have a photo named 'Fish'.  Please type a different name.");
  EXPECT_EQ(prompter.prompts()[6].kind, ScriptedPrompter::Kind::Error);
  EXPECT_TRUE(store.Contains("Sunset"));
  EXPECT_FALSE(store.HasFilesFor("Tommy"));
  EXPECT_EQ(store.ReadDescription("Sunset"), "cat");
}

TEST_F(PhotoStoreCommandsTest, DeleteAsksWithTheStemAndOnlyYesDeletes) {
  commands.deletePhoto("");
  prompter.answer(Prompter::Answer::No);
  prompter.answer(Prompter::Answer::Cancel);
  commands.deletePhoto("Fish && Chips");
  commands.deletePhoto("Fish && Chips");
  EXPECT_TRUE(store.Contains("Fish && Chips"));
  prompter.answer(Prompter::Answer::Yes);
  commands.deletePhoto("Fish && Chips");
  EXPECT_FALSE(store.HasFilesFor("Fish && Chips"));
  EXPECT_TRUE(store.Contains("Tommy"));

  EXPECT_EQ(prompter.prompts()[0].kind, ScriptedPrompter::Kind::Message);
  EXPECT_EQ(PromptTexts(), QStringList({"Please select a photo to delete.",
                                        "Are you sure you want to delete 'Fish && Chips'?",
                                        "Are you sure you want to delete 'Fish && Chips'?",
                                        "Are you sure you want to delete 'Fish && Chips'?"}));
}

TEST_F(PhotoStoreCommandsTest, EditCommentShowsThePhotoAndCancelLeavesBothFilesUntouched) {
  const auto before = FolderContents(Folder());
  const QDateTime time = QFileInfo(store.PhotoPath("Fish && Chips")).lastModified();
  QSize viewed;
  commands.setViewFullPhoto([&](const ImageBitmap& bmp) { viewed = QSize(bmp.Width, bmp.Height); });
  WhenEditCommentOpens([](CEditCommentDialog& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "Edit Comment");
    EXPECT_EQ(Control<QLabel>(dialog, "1051")->text(), "Fish && Chips");
    EXPECT_EQ(Control<QPlainTextEdit>(dialog, "1010")->toPlainText(), "lunch");
    // The photo fitted into the preview keeps its proportions; a click asks for the full view.
    auto* preview = Control<CPicturePreview>(dialog, "1006");
    ASSERT_TRUE(preview->picture());
    EXPECT_EQ(preview->displayMode(), CPicturePreview::Fit);
    EXPECT_NEAR(double(preview->picture()->Width) / preview->picture()->Height, 1.6, 0.02);
    EXPECT_EQ(preview->cursor().shape(), Qt::PointingHandCursor);
    QMouseEvent click(QEvent::MouseButtonRelease, QPointF(5, 5), preview->mapToGlobal(QPointF(5, 5)),
                      Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(preview, &click);
    Control<QPlainTextEdit>(dialog, "1010")->setPlainText("changed");
    Control<QPushButton>(dialog, "2")->click();
  });
  commands.editComment(working, "Fish && Chips");
  EXPECT_EQ(viewed, QSize(320, 200));
  EXPECT_EQ(FolderContents(Folder()), before);
  EXPECT_EQ(QFileInfo(store.PhotoPath("Fish && Chips")).lastModified(), time);
  EXPECT_FALSE(working.hasPixels());
}

TEST_F(PhotoStoreCommandsTest, EditCommentOkStoresTheNewDescriptionInBothFiles) {
  WhenEditCommentOpens([](CEditCommentDialog& dialog) {
    auto* edit = Control<QPlainTextEdit>(dialog, "1010");
    Control<QPushButton>(dialog, "1005")->click();
    EXPECT_TRUE(edit->toPlainText().isEmpty());
    edit->setPlainText(QString(300, 'd'));  // at most 255 characters, however it comes in
    Control<QPushButton>(dialog, "1")->click();
  });
  commands.editComment(working, "Fish && Chips");
  EXPECT_EQ(store.ReadDescription("Fish && Chips"), QString(255, 'd'));
  EXPECT_EQ(ReadPhotoDescription(store.ThumbnailPath("Fish && Chips")), QString(255, 'd'));
  EXPECT_EQ(FolderContents(Folder()).size(), 4);
  EXPECT_FALSE(working.hasPixels());
}
