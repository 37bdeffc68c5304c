#include <QDir>
#include <functional>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "MainWindowFixture.h"
#include "controls/CPictureListBox.h"
#include "controls/CScrollImageView.h"
#include "controls/CommandIds.h"
#include "controls/PageView.h"
#include "editing/CCaptionDialog.h"
#include "editing/CCaptionView.h"
#include "editing/CCaptionWindow.h"
#include "editing/CCropDialog.h"
#include "editing/CEffectsDialog.h"
#include "editing/CFrameDialog.h"
#include "editing/CFramePicker.h"
#include "editing/CRedEyeDialog.h"
#include "editing/CResizeDialog.h"
#include "fun/CFunPage.h"
#include "fun/CFunProjectWizard.h"
#include "fun/CPickPhotoPage.h"
#include "krn/ltkrn.h"
#include "labels/PageCells.h"
#include "library/PhotoListModel.h"
#include "library/PhotoStore.h"
#include "myphotos/CMyPhotosPage.h"
#include "printlabels/CPrintLabelsPage.h"
#include "system/Folders.h"

namespace {
const QPoint kEyes[] = {QPoint(710, 420), QPoint(890, 420)};

// The editing commands on a window over a store of one photo, "Meadow", light on the left,
// with a face in the middle.
class EditingCommand : public MainWindowFixture {
 protected:
  void SetUp() override {
    MainWindowFixture::SetUp();
    PhotoStore photos(GetMyPhotosFolder());
    ASSERT_TRUE(photos.EnsureFolder());
    QImage image(1600, 1200, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) image.setPixel(x, y, x < 800 ? qRgb(230, 220, 200) : qRgb(30, 90, 40));
    // A face in the middle, with red pupils.
    QPainter face(&image);
    face.setPen(Qt::NoPen);
    face.setBrush(QColor(224, 172, 140));
    face.drawEllipse(QPoint(800, 480), 240, 300);
    for (const QPoint eye : kEyes) {
      face.setBrush(Qt::white);
      face.drawEllipse(eye, 40, 22);
      face.setBrush(QColor(200, 30, 30));
      face.drawEllipse(eye, 15, 15);
    }
    face.end();
    ImageBitmap bmp;
    SetBitmapImage(bmp, image);
    ASSERT_EQ(photos.StorePhoto(bmp, "Meadow", "Morning light"), SUCCESS);
    // The label sheet needs the shipped templates.
    QFile::copy(QString::fromUtf8(BRIVANE_PROGRAM_DIR) + "labels.dat", GetProgramFolder() + "labels.dat");
    QDir().mkpath(GetFramesFolder());
    for (const QString& frame : QDir(QString::fromUtf8(BRIVANE_PROGRAM_DIR) + "frames").entryList(QDir::Files))
      QFile::copy(QString::fromUtf8(BRIVANE_PROGRAM_DIR) + "frames/" + frame, GetFramesFolder() + frame);
    window = makeWindow();
    window->show();
    QSignalSpy filled(&window->myPhotos(), &CMyPhotosPage::photoListFilled);
    ASSERT_TRUE(filled.wait(5000));
    window->myPhotos().photoList()->setCurrentRow(0);
  }

  // Runs the command; once its dialog is up, drive(dialog) answers it.
  template <class Dialog>
  void Run(int command, std::function<void(Dialog*)> drive) {
    QObject::connect(window.get(), &CMainDialog::editingDialogOpened, window.get(), [=](QDialog* opened) {
      auto* dialog = qobject_cast<Dialog*>(opened);
      ASSERT_NE(dialog, nullptr);
      QTimer::singleShot(0, dialog, [=] { drive(dialog); });
    }, Qt::SingleShotConnection);
    ASSERT_TRUE(window->onCommand(command));
  }

  // Runs Enhance; once the dialog is up, previews the effect and applies it.
  void EnhanceWith(const char* effect, QString* screenshot = nullptr) {
    Run<CEffectsDialog>(kCommandEnhance, [=](CEffectsDialog* dialog) {
      {
        auto* list = dialog->findChild<QListWidget*>("1002");
        list->setCurrentItem(list->findItems(effect, Qt::MatchExactly).value(0));
        QSignalSpy finished(dialog, &CEffectsDialog::previewFinished);
        dialog->findChild<QPushButton*>("1007")->click();
        EXPECT_TRUE(finished.wait(20000));
        dialog->findChild<QPushButton*>("1008")->click();
        if (screenshot) {
          QTest::qWait(300);  // the reduced preview of the applied picture
          QDir().mkpath(QFileInfo(*screenshot).path());
          EXPECT_TRUE(dialog->grab().save(*screenshot));
        }
        dialog->findChild<QPushButton*>("1")->click();
      }
    });
  }

  // The photo as stored now.
  static QImage StoredMeadow() {
    ImageBitmap picture;
    EXPECT_EQ(PhotoStore(GetMyPhotosFolder()).LoadPhoto(picture, "Meadow"), SUCCESS);
    return picture.Pixels;
  }

  std::unique_ptr<CMainDialog> window;
};

TEST_F(EditingCommand, OnMyPhotosTheAppliedPhotoIsStoredAgainWithItsDescription) {
  QString shot = QString::fromUtf8(BRIVANE_SCREENSHOT_DIR) + "effects-from-my-photos.png";
  EnhanceWith("Invert Colors", &shot);
  const QImage stored = StoredMeadow();
  EXPECT_LT(qRed(stored.pixel(100, 600)), 40);
  EXPECT_GT(qGreen(stored.pixel(1500, 600)), 150);
  EXPECT_EQ(PhotoStore(GetMyPhotosFolder()).ReadDescription("Meadow"), "Morning light");
  // The working bitmap is empty again between commands.
  EXPECT_FALSE(window->workingPicture().hasPixels());
}

TEST_F(EditingCommand, OnPrintLabelsOnlyTheLabelsPictureChanges) {
  window->setCurrentTab(MainTab::PrintLabels);
  CPrintLabelsPage& labels = window->printLabels();
  labels.sheetView()->selectCell(0);
  labels.placePhoto("Meadow", false);
  ASSERT_TRUE(labels.cells().HoldsPicture(0));
  QFile file(GetMyPhotosFolder() + "Meadow.jpg");
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray before = file.readAll();
  file.close();
  labels.sheetView()->selectCell(0);
  EnhanceWith("Gray Scale");
  EXPECT_EQ(labels.cells().Cell(0).Working->BitsPerPixel, 8);
  EXPECT_EQ(labels.cells().Cell(0).Base->BitsPerPixel, 24);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), before);
  file.close();

  // A frame on an edited label asks first; only Yes frames it, on the photo as placed.
  prompter.answer(Prompter::Answer::No);
  ASSERT_TRUE(window->onCommand(kCommandFrame));
  EXPECT_EQ(labels.cells().Cell(0).Working->BitsPerPixel, 8);
  ASSERT_EQ(prompter.prompts().size(), 1);
  EXPECT_TRUE(prompter.prompts()[0].text.startsWith("The photo you selected already contains a frame."));
  prompter.answer(Prompter::Answer::Yes);
  QSize frameSize;
  Run<CFrameDialog>(kCommandFrame, [&frameSize](CFrameDialog* dialog) {
    frameSize = dialog->picker()->frame().Pixels.size();
    EXPECT_NE(dialog->picker()->photo().BitsPerPixel, 8);  // the edit is gone
    dialog->findChild<QPushButton*>("1")->click();
  });
  EXPECT_EQ(labels.cells().Cell(0).Working->Pixels.size(), frameSize);
  EXPECT_TRUE(labels.cells().Cell(0).Edited);

  // A crop of the framed label keeps its frame: no question, the edit goes on.
  const int asked = int(prompter.prompts().size());
  Run<CCropDialog>(kCommandCrop, [](CCropDialog* dialog) {
    dialog->findChild<QListWidget*>("1018")->setCurrentRow(5);  // Circle
    dialog->findChild<QPushButton*>("1")->click();
  });
  EXPECT_EQ(int(prompter.prompts().size()), asked);
  const QImage cropped = labels.cells().Cell(0).Working->Pixels;
  EXPECT_EQ(cropped.pixel(1, 1) | 0xff000000u, qRgb(255, 255, 255));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), before);
}

TEST_F(EditingCommand, CropOnMyPhotosStoresTheCroppedPhotoAgain) {
  Run<CCropDialog>(kCommandCrop, [](CCropDialog* dialog) {
    dialog->findChild<QListWidget*>("1018")->setCurrentRow(0);  // Square
    dialog->findChild<QPushButton*>("1")->click();
  });
  const QImage stored = StoredMeadow();
  // The visible part of the photo, white outside the square.
  EXPECT_EQ(qRed(stored.pixel(2, 2)), 255);
  EXPECT_EQ(qBlue(stored.pixel(2, 2)), 255);
  EXPECT_EQ(PhotoStore(GetMyPhotosFolder()).ReadDescription("Meadow"), "Morning light");
}

// As a new user would: a speech balloon with a long accented text, two red eyes corrected,
// then an own size and a preset; each dialog and result saved for people to look at.
TEST_F(EditingCommand, CaptionRedEyeAndResizeOnMyPhotosStoreThePhotoEachTime) {
  const QString shots = QString::fromUtf8(BRIVANE_SCREENSHOT_DIR);
  QDir().mkpath(shots);
  PhotoStore photos(GetMyPhotosFolder());

  Run<CCaptionDialog>(kCommandCaption, [shots](CCaptionDialog* dialog) {
    dialog->resize(1000, 760);
    dialog->findChild<QListWidget*>("1074")->setCurrentRow(1);
    dialog->findChild<QPlainTextEdit*>("1075")->setPlainText(
        "Coucou ! Ça fait plaisir de vous revoir à la fête d'été. Grüße aus Köln, Γειά σου!");
    dialog->setFontAndColour(QFont("DejaVu Serif", 13), QColor(20, 40, 160));
    dialog->view()->captionWindow()->setPosition(QPoint(120, 60));
    QTest::qWait(100);
    EXPECT_TRUE(dialog->grab().save(shots + "caption-on-my-photos.png"));
    dialog->findChild<QPushButton*>("1")->click();
  });
  const QImage captioned = StoredMeadow();
  EXPECT_TRUE(captioned.save(shots + "captioned-photo.png"));
  EXPECT_GT(qGray(captioned.pixel(160, 90)), 245);  // inside the balloon (scale 1.25)
  EXPECT_EQ(photos.ReadDescription("Meadow"), "Morning light");

  Run<CRedEyeDialog>(kCommandRedEye, [shots](CRedEyeDialog* dialog) {
    dialog->resize(900, 700);
    QTest::qWait(50);
    CScrollImageView* view = dialog->view();
    view->setScrollPosition(QPoint(450, 200));
    const QPoint scroll = view->scrollPosition();
    for (const QPoint eye : kEyes) {
      QTest::mousePress(view->viewport(), Qt::LeftButton, {}, eye + QPoint(18, 18) - scroll);
      QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, eye - QPoint(18, 18) - scroll);
      if (eye == kEyes[1]) {
        EXPECT_TRUE(dialog->grab().save(shots + "red-eye-on-my-photos.png"));
      }
      dialog->correctRedEye();
    }
    QTest::qWait(150);
    EXPECT_TRUE(dialog->grab().save(shots + "red-eye-corrected.png"));
    dialog->findChild<QPushButton*>("1")->click();
  });
  const QImage corrected = StoredMeadow();
  EXPECT_TRUE(corrected.save(shots + "red-eye-corrected-photo.png"));
  for (const QPoint eye : kEyes) {
    // Stored as JPEG again: near the corrected colour, and the white of the eye is kept.
    EXPECT_NEAR(qGreen(corrected.pixel(eye)), 95, 12);
    EXPECT_GT(qGray(corrected.pixel(eye + QPoint(30, 0))), 230);
  }

  Run<CResizeDialog>(kCommandResize, [shots](CResizeDialog* dialog) {
    dialog->findChild<QRadioButton*>("1255")->click();
    dialog->findChild<QLineEdit*>("1250")->setText("1000");
    emit dialog->findChild<QLineEdit*>("1250")->editingFinished();
    EXPECT_EQ(dialog->findChild<QLineEdit*>("1251")->text(), "750");
    EXPECT_TRUE(dialog->grab().save(shots + "resize-own-size.png"));
    dialog->findChild<QPushButton*>("1")->click();
  });
  EXPECT_EQ(StoredMeadow().size(), QSize(1000, 750));
  Run<CResizeDialog>(kCommandResize, [](CResizeDialog* dialog) {
    dialog->findChild<QRadioButton*>("1245")->click();  // 800x600
    dialog->findChild<QPushButton*>("1")->click();
  });
  const QImage resized = StoredMeadow();
  EXPECT_EQ(resized.size(), QSize(800, 600));
  EXPECT_TRUE(resized.save(shots + "resized-photo.png"));
  EXPECT_EQ(photos.ReadDescription("Meadow"), "Morning light");
}

TEST_F(EditingCommand, OnALabelCaptionChangesOnlyTheLabelAndRedEyeCancelChangesNothing) {
  PhotoStore photos(GetMyPhotosFolder());
  window->setCurrentTab(MainTab::PrintLabels);
  CPrintLabelsPage& labels = window->printLabels();
  labels.sheetView()->selectCell(0);
  labels.placePhoto("Meadow", false);
  labels.sheetView()->selectCell(0);
  const QImage placed = labels.cells().Cell(0).Working->Pixels;
  Run<CRedEyeDialog>(kCommandRedEye, [](CRedEyeDialog* dialog) {
    QTest::mousePress(dialog->view()->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseRelease(dialog->view()->viewport(), Qt::LeftButton, {}, QPoint(60, 50));
    dialog->correctRedEye();
    dialog->findChild<QPushButton*>("2")->click();
  });
  EXPECT_EQ(labels.cells().Cell(0).Working->Pixels, placed);
  // A sticky note at the label picture's top-left.
  Run<CCaptionDialog>(kCommandCaption, [](CCaptionDialog* dialog) {
    dialog->findChild<QListWidget*>("1074")->setCurrentRow(2);
    dialog->findChild<QPlainTextEdit*>("1075")->setPlainText("Picnic");
    dialog->findChild<QPushButton*>("1")->click();
  });
  EXPECT_EQ(labels.cells().Cell(0).Working->Pixels.pixel(5, 90), 0xffffff80u);
  EXPECT_TRUE(labels.cells().Cell(0).Edited);
  ImageBitmap unchanged;
  ASSERT_EQ(photos.LoadPhoto(unchanged, "Meadow"), SUCCESS);
  EXPECT_EQ(unchanged.Pixels.pixel(5, 90), placed.pixel(5, 90));
}

// Photo > Fun on a label takes a copy of the label's picture; the Fun list starts with the
// photo to pick. Neither changes anything when cancelled.
TEST_F(EditingCommand, FunProjectsStartOnACopyOfTheCurrentPhotoOrWithThePickPage) {
  window->setCurrentTab(MainTab::PrintLabels);
  CPrintLabelsPage& labels = window->printLabels();
  labels.sheetView()->selectCell(0);
  labels.placePhoto("Meadow", false);
  labels.sheetView()->selectCell(0);
  const QImage placed = labels.cells().Cell(0).Working->Pixels;
  // Answers the wizard once it is up, then cancels it.
  auto whenOpen = [this](std::function<void(CFunProjectWizard*)> drive) {
    auto* poll = new QTimer(window.get());
    poll->setInterval(20);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, drive] {
      if (auto* wizard = qobject_cast<CFunProjectWizard*>(QApplication::activeModalWidget())) {
        poll->stop();
        poll->deleteLater();
        drive(wizard);
        wizard->reject();
      }
    });
    poll->start();
  };
  QSize handed;
  whenOpen([&](CFunProjectWizard* wizard) {
    EXPECT_EQ(wizard->project(), FunProject::Calendar);
    EXPECT_EQ(wizard->pickPage(), nullptr);
    handed = window->workingPicture().Pixels.size();
  });
  ASSERT_TRUE(window->onCommand(kCommandFunCalendar));
  EXPECT_EQ(handed, placed.size());
  EXPECT_EQ(labels.cells().Cell(0).Working->Pixels, placed);
  EXPECT_FALSE(window->workingPicture().hasPixels());

  window->setCurrentTab(MainTab::Fun);
  bool picking = false;
  whenOpen([&](CFunProjectWizard* wizard) {
    EXPECT_EQ(wizard->project(), FunProject::Magazine);
    picking = wizard->activePage() == wizard->pickPage() && wizard->pickPage() != nullptr;
  });
  window->fun().startActivity(2);
  EXPECT_TRUE(picking);
  EXPECT_FALSE(window->workingPicture().hasPixels());
}

}  // namespace
