#pragma once

// What the editing dialogs' tests share: an application, a feature host over a private
// store, and a picture handed over as a tab would.

#include <memory>

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>

#include "controls/PictureEditTarget.h"
#include "krn/ltkrn.h"
#include "library/PhotoStore.h"
#include "library/Settings.h"
#include "support/ScriptedPrompter.h"
#include "support/TestFeatureHost.h"

// A picture held by the test, as a tab would hand it over.
class HeldPicture : public PictureEditTarget {
 public:
  ImageBitmap& picture() override { return held; }
  void pictureChanged() override { ++changes; }
  ImageBitmap held;
  int changes = 0;
};

// Red rising to the right, green downwards; with `squares`, a blue chequer of 40 pixels.
inline ImageBitmap TestGradient(int width, int height, bool squares = false) {
  QImage image(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      image.setPixel(x, y, qRgb(x * 255 / width, y * 255 / height, squares ? (x / 40 + y / 40) % 2 * 200 : 90));
  ImageBitmap bmp;
  SetBitmapImage(bmp, image);
  return bmp;
}

// A picture of one colour.
inline ImageBitmap FilledPicture(int width, int height, QRgb colour) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(colour);
  ImageBitmap bmp;
  SetBitmapImage(bmp, image);
  return bmp;
}

class EditingDialogFixture : public ::testing::Test {
 protected:
  EditingDialogFixture() {
    store = std::make_unique<PhotoStore>(home.filePath("myphotos") + "/");
    settings = std::make_unique<Settings>(home.filePath("quendal.ini"));
    host = std::make_unique<TestFeatureHost>(*store, *settings, prompter, home.filePath("registry.ini"));
  }

  // A press at `from`, one move by `by` with the button held, and the release there.
  static void Drag(QWidget* widget, QPoint from, QPoint by) {
    QTest::mousePress(widget, Qt::LeftButton, {}, from);
    QMouseEvent move(QEvent::MouseMove, QPointF(from + by), widget->mapToGlobal(QPointF(from + by)), Qt::NoButton,
                     Qt::LeftButton, {});
    QApplication::sendEvent(widget, &move);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, from + by);
  }
  // Saves what the widget shows for people to look at.
  static void Shot(QWidget& widget, const char* file) {
    const QString folder = QString::fromUtf8(BRIVANE_SCREENSHOT_DIR);
    QDir().mkpath(folder);
    QApplication::processEvents();
    EXPECT_TRUE(widget.grab().save(folder + file));
  }

  static inline char programName[] = "editing_tests";
  static inline int argc = 1;
  static inline char* argv[] = {programName, nullptr};
  QApplication application{argc, argv};
  QTemporaryDir home;
  ScriptedPrompter prompter;
  std::unique_ptr<PhotoStore> store;
  std::unique_ptr<Settings> settings;
  std::unique_ptr<TestFeatureHost> host;
  HeldPicture target;
};
