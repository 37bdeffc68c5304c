// The fun-projects wizard as a user drives it: every project, every page, printing to PDF
// and storing.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>

#include "controls/CPictureListBox.h"
#include "editing/EditingDialogFixture.h"
#include "controls/SinglePhotoCommands.h"
#include "editing/CFramePage.h"
#include "editing/CFramePicker.h"
#include "fun/CCalendarPage.h"
#include "fun/CFunProjectWizard.h"
#include "fun/CGreetingCardPage.h"
#include "fun/CMagazineCaptionPage.h"
#include "fun/CNamePhotoPage.h"
#include "fun/CPickPhotoPage.h"
#include "fun/CPrintPage.h"
#include "fun/CPrintSaveFunPage.h"
#include "fun/CSportsCardNamePage.h"
#include "krn/ltkrn.h"
#include "library/PhotoStore.h"
#include "library/Settings.h"
#include "support/RequireTool.h"
#include "support/ScriptedPrompter.h"
#include "support/TestFeatureHost.h"

namespace {
const QRgb kSky = qRgb(40, 110, 220);

// The editing dialogs' host and store, with one photo, "Beach", all sky.
class FunProjectWizard : public EditingDialogFixture {
 protected:
  void SetUp() override {
    qputenv("BRIVANE_PROGRAM_FOLDER", QByteArray(BRIVANE_PROGRAM_DIR));
    ASSERT_TRUE(store->EnsureFolder());
    QImage image(1600, 1200, QImage::Format_RGB32);
    image.fill(kSky);
    ImageBitmap photo;
    SetBitmapImage(photo, image);
    ASSERT_EQ(store->StorePhoto(photo, "Beach", "Sand"), SUCCESS);
    host->photos.append("Beach", nullptr);
  }
  void TearDown() override { qunsetenv("BRIVANE_PROGRAM_FOLDER"); }

  // The wizard on screen at its first page, the photo given as the menu gives it.
  std::unique_ptr<CFunProjectWizard> Open(FunProject project, bool fromFunList) {
    if (!fromFunList) ASSERT_RESULT(store->LoadPhoto(host->working, "Beach"));
    auto wizard = std::make_unique<CFunProjectWizard>(*host, project, fromFunList, &host->window);
    wizard->show();
    wizard->setActivePage(wizard->page(0));
    return wizard;
  }
  static void ASSERT_RESULT(int result) { ASSERT_EQ(result, SUCCESS); }
  // Chooses the first template and goes on.
  static void Frame(CFunProjectWizard& wizard) {
    ASSERT_EQ(wizard.activePage(), wizard.framePage());
    wizard.framePage()->picker()->frameList()->setCurrentRow(0);
    QApplication::processEvents();
    wizard.pressNext();
  }
  static void Choose(CFunProjectWizard& wizard, const char* button) {
    wizard.printSavePage()->findChild<QRadioButton*>(button)->click();
  }
  QString PrintTo(CFunProjectWizard& wizard, const QString& name) {
    const QString pdf = home.filePath(name + ".pdf");
    wizard.photoOutput().setPrinterChooser([pdf](QWidget*) {
      auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
      printer->setOutputFormat(QPrinter::PdfFormat);
      printer->setOutputFileName(pdf);
      printer->setResolution(300);
      printer->setPageSize(QPageSize(QPageSize::Letter));
      printer->setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Inch);
      return printer;
    });
    wizard.printPage()->print();
    return pdf;
  }
  QImage Render(const QString& pdf) {
    QProcess render;
    render.start("pdftoppm", {"-r", "50", "-png", "-singlefile", pdf, pdf + "-page"});
    EXPECT_TRUE(render.waitForFinished(30000));
    return QImage(pdf + "-page.png").convertToFormat(QImage::Format_RGB32);
  }
  QImage Stored(const QString& name) {
    ImageBitmap picture;
    EXPECT_EQ(store->LoadPhoto(picture, name), SUCCESS);
    return picture.Pixels;
  }
};
}  // namespace

TEST_F(FunProjectWizard, ACalendarFromTheFunListIsPickedDrawnAndOnlySaved) {
  auto wizard = Open(FunProject::Calendar, true);
  ASSERT_EQ(wizard->activePage(), wizard->pickPage());
  EXPECT_EQ(wizard->pickPage()->findChild<QLabel*>("1038")->text(), "Choose the photo you want to place in a Calendar.");
  // Nothing chosen: told, and the page stays.
  wizard->pressNext();
  ASSERT_FALSE(prompter.prompts().isEmpty());
  EXPECT_EQ(prompter.prompts().last().text, "Please select a photo.");
  EXPECT_EQ(wizard->activePage(), wizard->pickPage());
  wizard->pickPage()->photoList()->setCurrentRow(0);
  Shot(*wizard, "fun-pick-photo.png");
  wizard->pressNext();
  EXPECT_EQ(host->working.Width, 1600);

  auto* calendar = qobject_cast<CCalendarPage*>(wizard->projectPage());
  ASSERT_EQ(wizard->activePage(), calendar);
  calendar->choose(2, 2009);
  Shot(*wizard, "fun-calendar-page.png");
  const QImage sheet = wizard->projectPicture().Pixels;
  ASSERT_EQ(sheet.size(), QSize(640, 960));
  EXPECT_NEAR(qBlue(sheet.pixel(320, 200)), qBlue(kSky), 3);  // the photo box, 639 x 479
  EXPECT_NEAR(qRed(sheet.pixel(320, 200)), qRed(kSky), 3);
  // A year beyond the sheet's is brought back with a message.
  calendar->findChild<QSpinBox*>("1188")->setValue(2500);
  EXPECT_EQ(calendar->year(), 2100);
  EXPECT_TRUE(prompter.prompts().last().text.contains("1900 to 2100"));
  calendar->choose(2, 2009);

  // "Only Save it" skips the print page both ways.
  wizard->pressNext();
  ASSERT_EQ(wizard->activePage(), wizard->printSavePage());
  EXPECT_FALSE(wizard->nextButton()->isVisible() && wizard->nextButton()->isEnabled());
  Choose(*wizard, "1196");
  Shot(*wizard, "fun-print-and-save.png");
  wizard->pressNext();
  ASSERT_EQ(wizard->activePage(), wizard->namePage());
  wizard->pressBack();
  ASSERT_EQ(wizard->activePage(), wizard->printSavePage());
  wizard->pressNext();
  wizard->namePage()->nameEdit()->setText("Beach");  // taken
  wizard->pressFinish();
  EXPECT_TRUE(wizard->isVisible());
  wizard->namePage()->nameEdit()->setText("February 2009");
  Shot(*wizard, "fun-name-page.png");
  wizard->pressFinish();
  EXPECT_EQ(wizard->storedName(), "February 2009");
  const QImage stored = Stored("February 2009");
  EXPECT_EQ(stored.size(), QSize(640, 960));
  EXPECT_TRUE(stored.save(QString::fromUtf8(BRIVANE_SCREENSHOT_DIR) + "fun-calendar-result.png"));
}

TEST_F(FunProjectWizard, ASportsCardIsPrintedAndSavedWithThePlayersName) {
  if (!RequireTool("pdftoppm", "poppler-utils")) return;
  auto wizard = Open(FunProject::SportsCard, true);
  wizard->pickPage()->photoList()->setCurrentRow(0);
  wizard->pressNext();
  EXPECT_EQ(wizard->framePage()->caption(), "Create a Sports Card");
  Shot(*wizard, "fun-frame-page.png");
  Frame(*wizard);
  auto* card = qobject_cast<CSportsCardNamePage*>(wizard->projectPage());
  ASSERT_EQ(wizard->activePage(), card);
  card->nameEdit()->setText("Jamie Fox");
  Shot(*wizard, "fun-sports-card-page.png");
  const QImage drawn = wizard->projectPicture().Pixels;
  EXPECT_EQ(drawn.height(), 480);
  wizard->pressNext();
  Choose(*wizard, "1194");
  wizard->pressNext();
  ASSERT_EQ(wizard->activePage(), wizard->printPage());
  EXPECT_FALSE(wizard->finishButton()->isVisible());
  Shot(*wizard, "fun-print-page.png");
  const QImage page = Render(PrintTo(*wizard, "card"));
  ASSERT_FALSE(page.isNull());
  EXPECT_TRUE(page.save(QString::fromUtf8(BRIVANE_SCREENSHOT_DIR) + "fun-sports-card-printed.png"));
  // The card fills the page's width from the top-left: the photo's blue shows through.
  int blue = 0;
  for (int y = 0; y < page.height(); y += 4)
    for (int x = 0; x < page.width(); x += 4) blue += qBlue(page.pixel(x, y)) > 180 && qRed(page.pixel(x, y)) < 90;
  EXPECT_GT(blue, 100);
  wizard->pressNext();
  wizard->namePage()->nameEdit()->setText("Jamie's card");
  wizard->pressFinish();
  const QImage stored = Stored("Jamie's card");
  EXPECT_EQ(stored.size(), drawn.size());
  EXPECT_TRUE(stored.save(QString::fromUtf8(BRIVANE_SCREENSHOT_DIR) + "fun-sports-card-result.png"));
}

TEST_F(FunProjectWizard, AMagazineCoverPrintedOnlyIsNotStored) {
  if (!RequireTool("pdftoppm", "poppler-utils")) return;
  auto wizard = Open(FunProject::Magazine, false);
  Frame(*wizard);
  auto* cover = qobject_cast<CMagazineCaptionPage*>(wizard->projectPage());
  ASSERT_EQ(wizard->activePage(), cover);
  cover->findChild<QLineEdit*>("1179")->setText("Summer at the sea: ten beaches you must see");
  cover->setCaptionColour(1, QColor(255, 128, 0));
  cover->findChild<QLineEdit*>("1180")->setText("Sand!");
  Shot(*wizard, "fun-magazine-page.png");
  wizard->pressNext();
  Choose(*wizard, "1003");
  wizard->pressNext();
  EXPECT_TRUE(wizard->finishButton()->isVisible());
  const QImage page = Render(PrintTo(*wizard, "cover"));
  ASSERT_FALSE(page.isNull());
  EXPECT_TRUE(page.save(QString::fromUtf8(BRIVANE_SCREENSHOT_DIR) + "fun-magazine-printed.png"));
  // Letter at 50 dpi; the cover fills the width from the top: its own yellow caption shows.
  EXPECT_EQ(page.size(), QSize(425, 550));
  int yellow = 0;
  for (int y = 0; y < 300; ++y)
    for (int x = 0; x < 200; ++x) yellow += qRed(page.pixel(x, y)) > 200 && qGreen(page.pixel(x, y)) > 200 && qBlue(page.pixel(x, y)) < 80;
  EXPECT_GT(yellow, 20);
  wizard->pressFinish();
  EXPECT_FALSE(wizard->isVisible());
  EXPECT_TRUE(wizard->storedName().isEmpty());
  EXPECT_EQ(store->List().size(), 1);
}

TEST_F(FunProjectWizard, AGreetingCardIsAQuarterPageTurnedForFolding) {
  if (!RequireTool("pdftoppm", "poppler-utils")) return;
  auto wizard = Open(FunProject::GreetingCard, true);
  wizard->pickPage()->photoList()->setCurrentRow(0);
  wizard->pressNext();
  Frame(*wizard);
  auto* card = qobject_cast<CGreetingCardPage*>(wizard->projectPage());
  ASSERT_EQ(wizard->activePage(), card);
  card->messageEdit()->setPlainText("Happy birthday,\ndear Sam!");
  card->setFontAndColour(QFont("DejaVu Serif", 30), QColor(150, 0, 0));
  Shot(*wizard, "fun-greeting-card-page.png");
  const QImage drawn = wizard->projectPicture().Pixels;
  ASSERT_EQ(drawn.size(), card->cardSize());
  // The front (the template with the photo) upside down in the upper left quarter; the
  // message upright in the lower right; the other quarters blank.
  const int w = drawn.width(), h = drawn.height();
  int front = 0, message = 0, blank = 0;
  for (int y = 0; y < h; y += 5)
    for (int x = 0; x < w; x += 5) {
      const QRgb pixel = drawn.pixel(x, y);
      const bool white = qGray(pixel) > 245;
      if (x < w / 2 && y < h / 2) front += !white;
      if (x >= w / 2 && y >= h / 2) message += qRed(pixel) > 100 && qGreen(pixel) < 60;
      if (x >= w / 2 && y < h / 2) blank += white;
    }
  EXPECT_GT(front, (w / 10) * (h / 10) / 4 / 2);
  EXPECT_GT(message, 20);
  EXPECT_EQ(blank, ((w - w / 2 + 4) / 5) * ((h / 2 + 4) / 5));
  wizard->pressNext();
  Choose(*wizard, "1194");
  wizard->pressNext();
  // Printed, the card fills the page as it will be folded: the front upside down at the
  // top left, the message upright at the bottom right.
  const QImage page = Render(PrintTo(*wizard, "greeting"));
  ASSERT_FALSE(page.isNull());
  EXPECT_TRUE(page.save(QString::fromUtf8(BRIVANE_SCREENSHOT_DIR) + "fun-greeting-card-printed.png"));
  const QSize printed = page.size();
  int pageFront = 0, pageMessage = 0;
  for (int y = 0; y < printed.height(); ++y)
    for (int x = 0; x < printed.width(); ++x) {
      const QRgb pixel = page.pixel(x, y);
      if (x < printed.width() / 2 && y < printed.height() / 2) pageFront += qGray(pixel) < 235;
      if (x >= printed.width() / 2 && y >= printed.height() / 2) pageMessage += qRed(pixel) > 100 && qGreen(pixel) < 60;
    }
  EXPECT_GT(pageFront, printed.width() * printed.height() / 4 / 3);
  EXPECT_GT(pageMessage, 10);
  wizard->pressNext();
  wizard->namePage()->nameEdit()->setText("For Sam");
  wizard->pressFinish();
  const QImage stored = Stored("For Sam");
  EXPECT_EQ(stored.size(), drawn.size());
  EXPECT_TRUE(stored.save(QString::fromUtf8(BRIVANE_SCREENSHOT_DIR) + "fun-greeting-card-result.png"));
}

TEST_F(FunProjectWizard, AnEmptyTemplateFolderIsToldAndTheWizardStaysUsable) {
  const QString empty = home.filePath("empty");
  QDir().mkpath(empty);
  auto wizard = Open(FunProject::Magazine, false);
  wizard->framePage()->setFolder(empty);
  wizard->pressNext();
  EXPECT_EQ(wizard->activePage(), wizard->framePage());
  EXPECT_TRUE(prompter.prompts().last().text.contains("There are no frames")) << prompter.prompts().last().text.toStdString();
  wizard->framePage()->setFolder(QString::fromUtf8(BRIVANE_PROGRAM_DIR) + "magazine/");
  Frame(*wizard);
  EXPECT_NE(wizard->activePage(), wizard->framePage());
}
