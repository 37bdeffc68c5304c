#include <functional>

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QListView>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QPrinter>
#include <QSignalSpy>
#include <QTimer>

#include "MainWindowFixture.h"
#include "support/RequireTool.h"
#include "support/TestFeatureHost.h"
#include "myphotos/CMyPhotosPage.h"
#include "controls/CScrollImageView.h"
#include "fil/ltfil.h"
#include "library/StoreTestSupport.h"
#include "controls/CommandIds.h"
#include "controls/CViewPhotoDialog.h"
#include "controls/PhotoPrinting.h"
#include "system/ProgramRunner.h"
#include "controls/SinglePhotoCommands.h"
#include "controls/CPictureListBox.h"
#include "library/PhotoListModel.h"
#include "system/Folders.h"
#include "system/RegistryStore.h"

namespace {
// A 400 x 300 landscape photo "Beach": red with a blue right half.
ImageBitmap BeachPicture() {
  QImage image(400, 300, QImage::Format_RGB32);
  image.fill(qRgb(230, 30, 30));
  for (int y = 0; y < 300; ++y)
    for (int x = 200; x < 400; ++x) image.setPixel(x, y, qRgb(30, 30, 230));
  ImageBitmap bmp;
  SetBitmapImage(bmp, image);
  return bmp;
}

class SinglePhotoOutput : public MainWindowFixture {
 protected:
  void SetUp() override {
    MainWindowFixture::SetUp();
    qputenv("BRIVANE_WINDOWS_FOLDER", QFile::encodeName(windowsFolder.path() + "/"));
    PhotoStore store(GetMyPhotosFolder());
    ASSERT_TRUE(store.EnsureFolder());
    ImageBitmap beach = BeachPicture();
    ASSERT_EQ(store.StorePhoto(beach, "Beach", QString()), SUCCESS);
    programRunner = &runner;
    window = makeWindow();
    window->show();
    QSignalSpy filled(&window->myPhotos(), &CMyPhotosPage::photoListFilled);
    ASSERT_TRUE(filled.wait(5000));
    ASSERT_EQ(window->myPhotos().photoModel().count(), 1);
    window->myPhotos().photoList()->setCurrentIndex(window->myPhotos().photoList()->model()->index(0, 0));
    ASSERT_EQ(window->myPhotos().selectedStem(), "Beach");
  }
  void TearDown() override {
    window.reset();
    qunsetenv("BRIVANE_WINDOWS_FOLDER");
    MainWindowFixture::TearDown();
  }
  // Runs `check` on the View Full Photo dialog once it is up, then closes it.
  void WhenViewOpens(std::function<void(CViewPhotoDialog&)> check) {
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, check] {
      if (auto* dialog = qobject_cast<CViewPhotoDialog*>(QApplication::activeModalWidget())) {
        timer->stop();
        timer->deleteLater();
        check(*dialog);
        dialog->closeButton()->click();
      }
    });
    timer->start();
  }

  std::unique_ptr<CMainDialog> window;
  RecordingProgramRunner runner;
};

TEST_F(SinglePhotoOutput, ViewShowsThePhotoAtFullSizeCentred) {
  bool checked = false;
  WhenViewOpens([&](CViewPhotoDialog& dialog) {
    checked = true;
    EXPECT_EQ(dialog.objectName(), "194");
    EXPECT_EQ(dialog.windowTitle(), "View Full Photo - Beach, 400 x 300");
    EXPECT_EQ(dialog.width(), 413);
    const QRect screen = dialog.screen()->geometry();
    EXPECT_EQ(dialog.geometry().x(), screen.x() + (screen.width() - 413) / 2);
    QPushButton* close = dialog.closeButton();
    EXPECT_EQ(close->objectName(), "1");
    EXPECT_EQ(close->text(), "&Close");
    EXPECT_EQ(close->pos(), QPoint(0, 0));
    CScrollImageView* view = dialog.view();
    EXPECT_EQ(view->objectName(), "1");
    EXPECT_GT(view->y(), close->geometry().bottom());
    EXPECT_EQ(view->width(), dialog.width());
    EXPECT_EQ(view->geometry().bottom(), dialog.height() - 1);
    EXPECT_EQ(view->scrollRange(), QSize(400, 300));
    const QImage shot = view->viewport()->grab().toImage();
    EXPECT_EQ(shot.pixel(10, 10) | 0xff000000u, qRgb(230, 30, 30));
  });
  window->onCommand(kCommandView);
  EXPECT_TRUE(checked);
}

TEST_F(SinglePhotoOutput, SaveAsReportsEverySaveAndPicksDepthFromTheName) {
  const QString folder = windowsFolder.path() + "/out/";
  QDir().mkpath(folder);
  prompter.reply(folder + "beach.gif");
  prompter.reply(folder + "beach");
  prompter.reply(folder + "beach.xyz");
  prompter.reply(std::nullopt);
  for (int i = 0; i < 4; ++i) window->onCommand(kCommandSavePictureAs);

  QStringList messages;
  for (const auto& prompt : prompter.prompts()) {
    if (prompt.kind == ScriptedPrompter::Kind::SaveFile) {
      EXPECT_EQ(prompt.caption, "Save Your Photo As...");
    }
    if (prompt.kind == ScriptedPrompter::Kind::Message) messages << prompt.text;
  }
  ASSERT_EQ(messages.size(), 3);  // none after the cancelled dialog
  EXPECT_EQ(messages[0], "rc=1, bits=8, File=" + folder + "beach.gif");
  EXPECT_EQ(messages[1], "rc=1, bits=24, File=" + folder + "beach.jpg");
  EXPECT_TRUE(messages[2].startsWith("rc=-")) << messages[2].toStdString();
  EXPECT_FALSE(QFile::exists(folder + "beach.xyz"));

  FileInfo info;
  ASSERT_EQ(GetImageFileInfo(folder + "beach.gif", info), SUCCESS);
  EXPECT_EQ(info.Format, FILE_GIF);
  EXPECT_EQ(info.BitsPerPixel, 8);
  ASSERT_EQ(GetImageFileInfo(folder + "beach.jpg", info), SUCCESS);
  EXPECT_EQ(info.Format, FILE_JPEG);
  EXPECT_EQ(info.BitsPerPixel, 24);
  EXPECT_EQ(QSize(info.Width, info.Height), QSize(400, 300));
}

TEST_F(SinglePhotoOutput, DefaultExtensionDoesNotReplaceAFileUnasked) {
  const QString folder = windowsFolder.path() + "/";
  QFile mine(folder + "mine.jpg");
  ASSERT_TRUE(mine.open(QIODevice::WriteOnly));
  mine.write("keep me");
  mine.close();
  prompter.reply(folder + "mine");
  prompter.answer(Prompter::Answer::No);
  window->onCommand(kCommandSavePictureAs);
  QFile kept(folder + "mine.jpg");
  ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
  EXPECT_EQ(kept.readAll(), "keep me");
  ASSERT_EQ(prompter.prompts().size(), 2);
  EXPECT_EQ(prompter.prompts()[1].kind, ScriptedPrompter::Kind::Question);

  prompter.reply(folder + "mine");
  prompter.answer(Prompter::Answer::Yes);
  window->onCommand(kCommandSavePictureAs);
  FileInfo info;
  ASSERT_EQ(GetImageFileInfo(folder + "mine.jpg", info), SUCCESS);
  EXPECT_EQ(info.Width, 400);
}

TEST_F(SinglePhotoOutput, SaveDialogFilterKeepsEveryEntry) {
  const QStringList entries = SinglePhotoCommands::SaveDialogFilter().split(";;");
  ASSERT_EQ(entries.size(), 26);
  EXPECT_EQ(entries.first(), "ALL (*.*)");
  EXPECT_TRUE(entries.contains("JPEG (*.jpg *.jff *.jtf)"));
  EXPECT_EQ(entries.last(), "WordPerfect (*.wpg)");
}

TEST_F(SinglePhotoOutput, WallpaperIsACentredBitmapInTheWindowsFolder) {
  const QString path = windowsFolder.path() + "/Beach.bmp";
  window->onCommand(kCommandSetAsWallpaper);
  FileInfo info;
  ASSERT_EQ(GetImageFileInfo(path, info), SUCCESS);
  EXPECT_EQ(info.Format, FILE_BMP);
  EXPECT_EQ(QSize(info.Width, info.Height), QSize(400, 300));
  RegistryStore registry(windowsFolder.path() + "/registry.ini");
  EXPECT_EQ(registry.queryValue("Control Panel\\Desktop", "TileWallpaper"), QString("0"));

  const QString uri = "file://" + path;
  EXPECT_TRUE(runner.calls.contains("gsettings set org.gnome.desktop.background picture-uri " + uri));
  EXPECT_TRUE(runner.calls.contains("gsettings set org.gnome.desktop.background picture-uri-dark " + uri));
  EXPECT_TRUE(runner.calls.contains("gsettings set org.gnome.desktop.background picture-options centered"));
  EXPECT_TRUE(runner.calls.contains("plasma-apply-wallpaperimage " + path));
  EXPECT_TRUE(runner.calls.filter("xfconf-query").join('\n').contains(path));
  EXPECT_TRUE(prompter.prompts().isEmpty());

  // The next use replaces the file.
  QFile damaged(path);
  ASSERT_TRUE(damaged.open(QIODevice::WriteOnly | QIODevice::Truncate));
  damaged.write("junk");
  damaged.close();
  window->onCommand(kCommandSetAsWallpaper);
  ASSERT_EQ(GetImageFileInfo(path, info), SUCCESS);
  EXPECT_EQ(info.Width, 400);
}

TEST_F(SinglePhotoOutput, CopyPutsThePhotoOnTheClipboard) {
  QGuiApplication::clipboard()->clear();
  window->onCommand(kCommandCopyToClipboard);
  const QImage copied = QGuiApplication::clipboard()->image();
  EXPECT_EQ(copied.size(), QSize(400, 300));
}

TEST_F(SinglePhotoOutput, PrintFillsThePageWidthAtTheTop) {
  if (!RequireTool("pdfinfo", "poppler-utils") || !RequireTool("pdftoppm", "poppler-utils")) return;
  const QString pdf = windowsFolder.path() + "/photo.pdf";
  QString docName;
  window->myPhotos().photoOutput().setPrinterChooser([&](QWidget*) {
    auto printer = std::make_unique<QPrinter>(QPrinter::ScreenResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(pdf);
    printer->setPageSize(QPageSize(QPageSize::A4));
    printer->setPageOrientation(QPageLayout::Portrait);
    printer->setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
    return printer;
  });
  window->onCommand(kCommandPrint);
  ASSERT_TRUE(QFile::exists(pdf));

  QProcess info;
  info.start("pdfinfo", {pdf});
  ASSERT_TRUE(info.waitForFinished(20000));
  EXPECT_TRUE(info.readAllStandardOutput().contains("Printing a Photo"));

  const QString png = windowsFolder.path() + "/page";
  ASSERT_EQ(QProcess::execute("pdftoppm", {"-r", "50", "-png", "-singlefile", pdf, png}), 0);
  const QImage page(png + ".png");
  ASSERT_FALSE(page.isNull());
  // A4 at 50 dpi: 413 x 585; 10 mm margins are about 20 pixels.
  ASSERT_NEAR(page.width(), 413, 2);
  const int margin = 20;
  const int printedWidth = page.width() - 2 * margin;
  const int printedHeight = printedWidth * 300 / 400;
  auto isRed = [](QRgb c) { return qRed(c) > 180 && qBlue(c) < 90; };
  auto isBlue = [](QRgb c) { return qBlue(c) > 180 && qRed(c) < 90; };
  auto isWhite = [](QRgb c) { return qRed(c) > 240 && qGreen(c) > 240 && qBlue(c) > 240; };
  const int middle = margin + printedHeight / 2;
  EXPECT_TRUE(isRed(page.pixel(margin + 3, margin + 3)));
  EXPECT_TRUE(isRed(page.pixel(margin + printedWidth / 4, middle)));
  EXPECT_TRUE(isBlue(page.pixel(margin + printedWidth * 3 / 4, middle)));
  EXPECT_TRUE(isBlue(page.pixel(page.width() - margin - 3, middle)));
  EXPECT_TRUE(isWhite(page.pixel(margin - 8, middle)));
  EXPECT_TRUE(isWhite(page.pixel(page.width() - margin + 8, middle)));
  EXPECT_TRUE(isWhite(page.pixel(page.width() / 2, margin + printedHeight + 8)));
  EXPECT_TRUE(isWhite(page.pixel(page.width() / 2, page.height() - 40)));
}

}  // namespace

TEST(PrintScaling, PictureFitsThePrintableArea) {
  EXPECT_EQ(PrintPictureSize(QSize(400, 300), QSize(800, 1000)), QSize(800, 600));
  // Tall: first page width, then down to the page height, fractions cut off.
  EXPECT_EQ(PrintPictureSize(QSize(300, 600), QSize(800, 1000)), QSize(500, 1000));
  EXPECT_EQ(PrintPictureSize(QSize(3, 7), QSize(100, 100)), QSize(42, 100));
  EXPECT_EQ(PrintPictureSize(QSize(0, 0), QSize(800, 1000)), QSize());
  EXPECT_EQ(PrintPictureSize(QSize(400, 300), QSize()), QSize());
}
