#include <QBackingStore>
#include <QClipboard>
#include <QGuiApplication>
#include <QPainter>
#include <QWindow>

#include <gtest/gtest.h>

#include "dis/ltdis.h"

namespace {
// Each test may run in a process of its own or all in one; the application is made once,
// on first need, and lives as long as the process.
QGuiApplication* App() {
  if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return app;
  if (QCoreApplication::instance()) return nullptr;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "imagelib_tests";
  static char* argv[] = {name, nullptr};
  return new QGuiApplication(argc, argv);
}

ImageBitmap Picture(QRgb left, QRgb right) {
  QImage image(2, 1, QImage::Format_RGB32);
  image.setPixel(0, 0, left);
  image.setPixel(1, 0, right);
  ImageBitmap bmp;
  SetBitmapImage(bmp, image);
  return bmp;
}
}  // namespace

TEST(DisplayClipboard, NeedsAnApplication) {
  if (QCoreApplication::instance()) GTEST_SKIP() << "an application exists in this process";
  EXPECT_EQ(CopyBitmapToClipboard(Picture(qRgb(1, 2, 3), qRgb(4, 5, 6))), ERROR_NO_CLIPBOARD);
}

TEST(DisplayClipboard, HoldsThePictureAsShown) {
  if (!App()) GTEST_SKIP() << "a non-GUI application exists in this process";
  EXPECT_EQ(CopyBitmapToClipboard(ImageBitmap()), ERROR_NO_BITMAP);
  ImageBitmap bmp = Picture(qRgb(10, 20, 30), qRgb(40, 50, 60));
  bmp.Perspective = TopRight;
  ASSERT_EQ(CopyBitmapToClipboard(bmp), SUCCESS);
  const QImage pasted = QGuiApplication::clipboard()->image();
  ASSERT_EQ(pasted.size(), QSize(2, 1));
  EXPECT_EQ(pasted.pixel(0, 0) | 0xff000000u, qRgb(40, 50, 60));
  EXPECT_EQ(pasted.pixel(1, 0) | 0xff000000u, qRgb(10, 20, 30));
}

TEST(DisplayPaint, RasterOpsOnAWindowsBackingStore) {
  if (!App()) GTEST_SKIP() << "a non-GUI application exists in this process";
  QWindow window;
  window.resize(4, 4);
  QBackingStore store(&window);
  store.resize(QSize(4, 4));
  store.beginPaint(QRegion(0, 0, 4, 4));
  const QRgb under = qRgb(0xCC, 0xF0, 0x0F), picture = qRgb(0xAA, 0x55, 0xFF);
  {
    QPainter painter(store.paintDevice());
    painter.fillRect(QRect(0, 0, 4, 4), QColor(under));
    DeviceContext dc(painter, QSize(4, 4));
    const ImageBitmap bmp = Picture(picture, picture);
    ASSERT_EQ(PaintBitmap(dc, bmp, QRect(), QRect(0, 0, 2, 1), QRect(), RasterOp::And), SUCCESS);
    ASSERT_EQ(PaintBitmap(dc, bmp, QRect(), QRect(2, 0, 2, 1), QRect(), RasterOp::Or), SUCCESS);
  }
  ASSERT_EQ(store.paintDevice()->devType(), QInternal::Image);
  const QImage& shown = *static_cast<QImage*>(store.paintDevice());
  EXPECT_EQ(shown.pixel(0, 0) | 0xff000000u, qRgb(0x88, 0x50, 0x0F));
  EXPECT_EQ(shown.pixel(3, 0) | 0xff000000u, qRgb(0xEE, 0xF5, 0xFF));
  EXPECT_EQ(shown.pixel(0, 1) | 0xff000000u, under);
  store.endPaint();
}
