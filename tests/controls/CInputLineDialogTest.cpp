#include <gtest/gtest.h>

#include <memory>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "controls/CInputLineDialog.h"
#include "support/ScriptedPrompter.h"

namespace {
class CInputLineDialogTest : public ::testing::Test {
 protected:
  // The application object of one test; none is made when another test's is alive.
  static std::unique_ptr<QApplication> MakeApplication() {
    static int argc = 1;
    static char name[] = "controls_tests";
    static char* argv[] = {name, nullptr};
    if (QApplication::instance() != nullptr) return nullptr;
    return std::make_unique<QApplication>(argc, argv);
  }
  template <typename T>
  T* Control(const char* id) {
    T* control = dialog.findChild<T*>(QString::fromLatin1(id));
    EXPECT_NE(control, nullptr) << id;
    return control;
  }

  std::unique_ptr<QApplication> application = MakeApplication();
  ScriptedPrompter prompter;
  CInputLineDialog dialog{prompter, "Rename a photo", "Type the new name of the photo", "Beach"};
};
}  // namespace

TEST_F(CInputLineDialogTest, ShowsCaptionPromptAndTextUnderTheirIds) {
  EXPECT_EQ(dialog.windowTitle(), "Rename a photo");
  EXPECT_EQ(Control<QLabel>("1014")->text(), "Type the new name of the photo");
  EXPECT_EQ(Control<QLineEdit>("1086")->text(), "Beach");
  dialog.setMaxLength(60);
  Control<QLineEdit>("1086")->setText(QString(80, 'x'));
  EXPECT_EQ(dialog.text().size(), 60);
  dialog.show();
  Control<QPushButton>("2")->click();
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  EXPECT_TRUE(prompter.prompts().isEmpty());
}

TEST_F(CInputLineDialogTest, OkRefusesAnEmptyEntryAndStaysOpen) {
  dialog.show();
  Control<QLineEdit>("1086")->clear();
  Control<QPushButton>("1")->click();
  EXPECT_TRUE(dialog.isVisible());
  ASSERT_EQ(prompter.prompts().size(), 1);
  EXPECT_EQ(prompter.prompts()[0].kind, ScriptedPrompter::Kind::Error);
  EXPECT_EQ(prompter.prompts()[0].text, "You did not enter anything.  Please enter the Rename a photo.");

  Control<QLineEdit>("1086")->setText("Summer");
  Control<QPushButton>("1")->click();
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.text(), "Summer");
}
