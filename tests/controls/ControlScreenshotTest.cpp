#include <gtest/gtest.h>

#include <QBoxLayout>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <QStandardItemModel>
#include <QTest>

#include "ControlsTestApp.h"
#include "controls/CPictureListBox.h"
#include "controls/CPicturePreview.h"
#include "dis/ltdis.h"
#include "efx/ltefx.h"
#include "library/PhotoListModel.h"

namespace {
// A shipped picture of the built program folder, as a bitmap (empty when not built).
ImageBitmap Shipped(const QString& name, QSize scaled = QSize()) {
  QImage image(QStringLiteral(BRIVANE_PROGRAM_DIR) + name);
  if (!scaled.isEmpty() && !image.isNull())
    image = image.scaled(scaled, Qt::KeepAspectRatio, Qt::SmoothTransformation);
  ImageBitmap bmp;
  if (!image.isNull()) SetBitmapImage(bmp, image);
  return bmp;
}

// A landscape standing in for a photo.
ImageBitmap Landscape() {
  QImage image(640, 480, QImage::Format_RGB32);
  QPainter p(&image);
  QLinearGradient sky(0, 0, 0, 300);
  sky.setColorAt(0, QColor(70, 120, 200));
  sky.setColorAt(1, QColor(250, 200, 150));
  p.fillRect(image.rect(), sky);
  QRadialGradient sun(460, 170, 60);
  sun.setColorAt(0, QColor(255, 250, 220));
  sun.setColorAt(1, QColor(255, 200, 120, 0));
  p.fillRect(image.rect(), sun);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(60, 110, 70));
  p.drawEllipse(QRect(-200, 260, 700, 400));
  p.setBrush(QColor(40, 90, 60));
  p.drawEllipse(QRect(250, 300, 700, 400));
  p.end();
  ImageBitmap bmp;
  SetBitmapImage(bmp, image);
  return bmp;
}
}  // namespace

// Writes pictures of the controls for people to look at, kept in the build's
// screenshots folder.
TEST(ControlScreenshots, ListsAndPreviews) {
  const QString folder = QString::fromUtf8(BRIVANE_SCREENSHOT_DIR);
  if (!ControlsTestApp()) GTEST_SKIP() << "a non-widget application exists";
  ASSERT_TRUE(QDir().mkpath(folder));
  QApplication::setStyle("Fusion");

  PhotoListModel fun;
  const QStringList names = {"Sports Card", "Calendar", "Magazine", "Greeting Card",
                             "pavonel", "corilan"};
  const QStringList texts = {"Sports Card", "Calendar", "Magazine Cover", "Greeting Card",
                             "Slide Show && Music", "Screen Saver & Friends"};
  for (int i = 0; i < names.size(); ++i) {
    auto item = std::make_shared<PhotoItem>();
    item->Thumbnail = Shipped(names[i] + ".jpg");
    fun.append(texts[i], item);
  }
  CPictureListBox list;
  list.setModel(&fun);
  list.resize(420, 290);
  list.setCurrentRow(1);
  list.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
  EXPECT_TRUE(list.grab().save(folder + "/picture-list.png"));

  // The frame list: 64 x 48 thumbnails with white transparent.
  QList<ImageBitmap> frames;
  const QStringList frameNames = {"Heart", "Oval", "Star", "Postcard", "Wood", "Ornate Gold"};
  for (const QString& name : frameNames)
    frames.append(Shipped("frames/" + name + ".gif", QSize(64, 48)));
  QStandardItemModel frameModel;
  for (int i = 0; i < frames.size(); ++i) {
    auto* item = new QStandardItem(frameNames[i]);
    item->setData(QVariant::fromValue(static_cast<const ImageBitmap*>(&frames[i])),
                  PhotoListModel::PictureRole);
    frameModel.appendRow(item);
  }
  CPictureListBox frameList;
  frameList.setTransparentWhite(true);
  frameList.setModel(&frameModel);
  frameList.resize(300, 260);
  frameList.setCurrentRow(0);
  frameList.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&frameList));
  EXPECT_TRUE(frameList.grab().save(folder + "/frame-list.png"));

  const ImageBitmap photo = Landscape();
  const ImageBitmap frame = Shipped("frames/Oval.gif");
  for (int mode = 1; mode <= 3; ++mode) {
    QWidget page;
    auto* layout = new QHBoxLayout(&page);
    auto* preview = new CPicturePreview;
    preview->setFixedSize(320, 240);
    preview->setPicture(&photo);
    preview->setDisplayMode(mode);
    if (mode == 3) {
      preview->setZoomLevel(2);
      preview->setPanOffset(QPoint(-30, 10));
      // As the frame dialog does: the frame over the zoomed photo, black see-through.
      QObject::connect(preview, &CPicturePreview::afterPaint,
                       [&frame](DeviceContext& dc, QSize client) {
                         PaintTransparent(dc, frame, QRect(), QRect(QPoint(), client), QRect(),
                                          qRgb(0, 0, 0));
                       });
    }
    layout->addWidget(preview);
    page.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
    EXPECT_TRUE(page.grab().save(folder + QString("/preview-mode%1.png").arg(mode)));
  }
}
