#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QPushButton>
#include <QTimer>

#include "getphoto/CScannerOptionsDialog.h"

namespace {

class ScannerOptionsDialog : public ::testing::Test {
 protected:
  static int argc;
  static char* argv[];
  QApplication application{argc, argv};
};
char name[] = "getphoto_tests";
int ScannerOptionsDialog::argc = 1;
char* ScannerOptionsDialog::argv[] = {name, nullptr};

// Settings as a flatbed scanner describes them.
QList<ScanOption> FlatbedOptions() {
  ScanOption mode;
  mode.Name = "mode";
  mode.Title = "Scan mode";
  mode.Type = ScanOption::Kind::Text;
  mode.TextChoices = {"Gray", "Color"};
  mode.Value = QString("Gray");
  ScanOption resolution;
  resolution.Name = "resolution";
  resolution.Title = "Scan resolution";
  resolution.Unit = "dpi";
  resolution.HasRange = true;
  resolution.Minimum = 1;
  resolution.Maximum = 1200;
  resolution.Step = 1;
  resolution.Value = 50.0;
  QList<ScanOption> options{mode, resolution};
  const char* corners[] = {"tl-x", "tl-y", "br-x", "br-y"};
  const double values[] = {0, 0, 80, 100};
  for (int i = 0; i < 4; ++i) {
    ScanOption corner;
    corner.Name = corners[i];
    corner.Title = corners[i];
    corner.Unit = "mm";
    corner.Type = ScanOption::Kind::Fixed;
    corner.HasRange = true;
    corner.Maximum = 200;
    corner.Step = 1;
    corner.Value = values[i];
    options << corner;
  }
  return options;
}

}  // namespace

TEST_F(ScannerOptionsDialog, ShowsTheDeviceSettingsAndReturnsTheChosenOnes) {
  CScannerOptionsDialog dialog(FlatbedOptions());
  auto* mode = dialog.findChild<QComboBox*>("mode");
  auto* resolution = dialog.findChild<QDoubleSpinBox*>("resolution");
  auto* right = dialog.findChild<QDoubleSpinBox*>("br-x");
  ASSERT_TRUE(mode && resolution && right);
  EXPECT_EQ(mode->count(), 2);
  EXPECT_EQ(mode->currentText(), "Gray");
  EXPECT_EQ(resolution->value(), 50);
  EXPECT_EQ(resolution->maximum(), 1200);
  EXPECT_EQ(right->maximum(), 200);

  mode->setCurrentText("Color");
  resolution->setValue(100);
  right->setValue(500);  // beyond the device's area: held at its edge
  const QVariantMap chosen = dialog.chosen();
  EXPECT_EQ(chosen.value("mode").toString(), "Color");
  EXPECT_EQ(chosen.value("resolution").toDouble(), 100);
  EXPECT_EQ(chosen.value("br-x").toDouble(), 200);
  EXPECT_EQ(chosen.value("br-y").toDouble(), 100);
  EXPECT_EQ(chosen.value("tl-x").typeId(), QMetaType::Double);

  dialog.adjustSize();
  const QString folder = QString::fromUtf8(BRIVANE_SCREENSHOT_DIR);
  QDir().mkpath(folder);
  EXPECT_TRUE(dialog.grab().save(folder + "scanner-options.png"));
}

TEST_F(ScannerOptionsDialog, CallbackAnswersOkAndCancel) {
  const ScanOptionsCallback ask = CScannerOptionsDialog::callback(nullptr);
  for (const char* button : {"ok", "cancel"}) {
    QTimer::singleShot(0, [button] {
      for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* dialog = qobject_cast<CScannerOptionsDialog*>(w)) {
          dialog->findChild<QComboBox*>("mode")->setCurrentText("Color");
          dialog->findChild<QPushButton*>(button)->click();
        }
    });
    QVariantMap chosen;
    const bool accepted = ask(FlatbedOptions(), chosen);
    EXPECT_EQ(accepted, QByteArray(button) == "ok");
    EXPECT_EQ(chosen.value("mode").toString(), accepted ? "Color" : "");
  }
}
