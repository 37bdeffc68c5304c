#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QToolButton>
#include <QTreeView>

#include "GetPhotoFixture.h"
#include "support/TestPictures.h"
#include "controls/CDescriptionEdit.h"
#include "controls/CFilePreview.h"
#include "getphoto/CFileBrowserList.h"
#include "getphoto/CNamePage.h"
#include "getphoto/CPickFilePage.h"
#include "library/PreviewDecoder.h"
#include "krn/ltkrn.h"
#include "library/PhotoNames.h"

namespace {

QStringList Entries(const CFileBrowserList* list) {
  QStringList names;
  for (int row = 0; row < list->count(); ++row) names.append(list->entryName(row));
  return names;
}

TEST_F(GetPhotoFixture, WithoutAScannerTheBrowserOpensInTheLastFolder) {
  auto wizard = makeWizard();
  CPickFilePage* page = wizard->pickPage();
  EXPECT_EQ(wizard->openPage(), nullptr);
  EXPECT_EQ(wizard->activePage(), page);
  EXPECT_EQ(wizard->windowTitle(), "Choose a Photo File");
  EXPECT_TRUE(wizard->backButton()->isHidden());
  EXPECT_TRUE(wizard->nextButton()->isVisible());

  EXPECT_EQ(page->currentFolder(), pictures);
  EXPECT_EQ(Entries(page->fileList()),
            QStringList({"Trips", "archive", "Holiday 2001.jpg", "garden.png", "Beach.jpg"}));
  EXPECT_EQ(page->fileTypes()->currentIndex(), 0);
  // Look In shows the folder as the deepest of the path entries below its volume.
  EXPECT_EQ(page->lookIn()->currentText(), "Pictures");
  EXPECT_EQ(page->lookIn()->currentData().toString(), pictures);
  EXPECT_TRUE(page->upButton()->isVisibleTo(page));

  // Into a folder and back up; the path entries follow.
  page->fileList()->setCurrentRow(0);
  page->openSelected();
  EXPECT_EQ(page->currentFolder(), pictures + "/Trips");
  EXPECT_EQ(page->lookIn()->currentText(), "Trips");
  page->goUp();
  EXPECT_EQ(page->currentFolder(), pictures);
  EXPECT_EQ(page->lookIn()->findText("Trips"), -1);

  // Choosing an upper path entry goes there.
  const int parent = page->lookIn()->currentIndex() - 1;
  emit page->lookIn()->activated(parent);
  EXPECT_EQ(page->currentFolder(), home.path());
}

TEST_F(GetPhotoFixture, OpeningAFileProposesItsNameAndFinishStoresIt) {
  auto wizard = makeWizard();
  ASSERT_TRUE(OpenFile(wizard->pickPage(), "Holiday 2001.jpg"));
  CNamePage* name = wizard->namePage();
  ASSERT_EQ(wizard->activePage(), name);
  EXPECT_EQ(wizard->windowTitle(), "Name the Photo");
  EXPECT_EQ(name->nameEdit()->text(), "Holiday 2001");
  EXPECT_EQ(host->working.Width, 320);
  EXPECT_EQ(name->preview()->picture(), &host->working);
  EXPECT_TRUE(wizard->finishButton()->isVisible());
  EXPECT_TRUE(wizard->backButton()->isVisible());
  EXPECT_EQ(name->message()->text(), CNamePage::Message(false));

  name->descriptionEdit()->setPlainText("At the sea");
  wizard->pressFinish();
  EXPECT_EQ(wizard->result(), QDialog::Accepted);
  EXPECT_TRUE(store->Contains("Holiday 2001"));
  EXPECT_EQ(store->ReadDescription("Holiday 2001"), "At the sea");
  EXPECT_EQ(settings->lastFolderRead(), pictures);
  EXPECT_TRUE(prompter.prompts().isEmpty());
}

TEST_F(GetPhotoFixture, FilesThatDoNotDecodeOrVanishCannotBeOpened) {
  auto wizard = makeWizard();
  CPickFilePage* page = wizard->pickPage();
  page->fileTypes()->setCurrentIndex(1);
  emit page->fileTypes()->activated(1);
  ASSERT_TRUE(Entries(page->fileList()).contains("notes.txt"));
  ASSERT_TRUE(OpenFile(page, "notes.txt"));
  EXPECT_EQ(wizard->activePage(), page);
  EXPECT_EQ(page->preview()->picture(), nullptr);

  // Listed, then gone before its preview.
  QFile::remove(pictures + "/garden.png");
  ASSERT_TRUE(OpenFile(page, "garden.png"));
  EXPECT_EQ(wizard->activePage(), page);
  EXPECT_FALSE(page->decoder().hasPreview());

  // A folder that is gone lists as nothing and the page goes on working.
  page->openFolder(pictures + "/missing");
  EXPECT_EQ(page->fileList()->count(), 0);
  page->openFolder(pictures);
  ASSERT_TRUE(OpenFile(page, "Beach.jpg"));
  EXPECT_EQ(wizard->activePage(), wizard->namePage());
}

TEST_F(GetPhotoFixture, GetAnotherPhotoStoresAndStartsAgainWithTheFullPicture) {
  auto wizard = makeWizard();
  ASSERT_TRUE(OpenFile(wizard->pickPage(), "Holiday 2001.jpg"));
  CNamePage* name = wizard->namePage();
  name->another()->setChecked(true);
  EXPECT_TRUE(wizard->nextButton()->isVisible());
  EXPECT_FALSE(wizard->finishButton()->isVisible());
  EXPECT_EQ(name->message()->text(), CNamePage::Message(true));
  wizard->pressNext();
  EXPECT_TRUE(store->Contains("Holiday 2001"));
  EXPECT_EQ(wizard->activePage(), wizard->pickPage());

  // The same file again: storing left a thumbnail in the working bitmap, and the second
  // photo must still be the full picture.
  ASSERT_TRUE(OpenFile(wizard->pickPage(), "Holiday 2001.jpg"));
  ASSERT_EQ(wizard->activePage(), name);
  EXPECT_EQ(host->working.Width, 320);

  // A name that a stored photo's name begins with is refused; the page stays.
  name->nameEdit()->setText("holiday");
  name->another()->setChecked(false);
  wizard->pressFinish();
  ASSERT_EQ(prompter.prompts().size(), 1);
  EXPECT_EQ(prompter.prompts()[0].text,
            "You already have a photo named 'holiday'.  Please type a different name.");
  EXPECT_EQ(wizard->activePage(), name);

  name->nameEdit()->setText("  Copy of the holiday ");
  wizard->pressFinish();
  EXPECT_EQ(wizard->result(), QDialog::Accepted);
  ImageBitmap copy;
  InitBitmap(copy, 0, 0, 0);
  ASSERT_EQ(store->LoadPhoto(copy, "Copy of the holiday"), SUCCESS);
  EXPECT_EQ(copy.Width, 320);
  FreeBitmap(copy);
}

TEST_F(GetPhotoFixture, AStoreThatFailsSaysSoAndKeepsThePicture) {
  auto wizard = makeWizard();
  ASSERT_TRUE(OpenFile(wizard->pickPage(), "Beach.jpg"));
  store->SetFaultHook([](PhotoStore::Step step) { return step == PhotoStore::Step::WriteThumbnail; });
  wizard->pressFinish();
  EXPECT_EQ(wizard->activePage(), wizard->namePage());
  ASSERT_EQ(prompter.prompts().size(), 1);
  EXPECT_EQ(prompter.prompts()[0].kind, ScriptedPrompter::Kind::Error);
  EXPECT_FALSE(store->HasFilesFor("Beach"));
  EXPECT_EQ(host->working.Height, 300);

  store->SetFaultHook({});
  wizard->pressFinish();
  EXPECT_TRUE(store->Contains("Beach"));
}

TEST_F(GetPhotoFixture, TheViewStyleAndAClickOnThePreviewWork) {
  {
    auto wizard = makeWizard();
    CPickFilePage* page = wizard->pickPage();
    EXPECT_EQ(page->fileList()->viewStyle(), Settings::kLargeIcons);
    QAction* details = page->viewMenu()->findChild<QAction*>("59411");
    ASSERT_NE(details, nullptr);
    details->trigger();
    EXPECT_EQ(page->fileList()->viewStyle(), Settings::kDetails);
    EXPECT_EQ(settings->fileList(), Settings::kDetails);

    page->fileList()->setCurrentRow(page->fileList()->rowOf("Beach.jpg"));
    page->checkSelection();
    ASSERT_TRUE(WaitFor([&] { return page->decoder().isDone(); }));
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(page->preview(), &release);
    EXPECT_EQ(host->viewed, QStringList({"Beach.jpg"}));
  }
  auto again = makeWizard();
  EXPECT_EQ(again->pickPage()->fileList()->viewStyle(), Settings::kDetails);
}

// The details view's column as fitting it to what it shows now would make it; the view's
// own width is left alone.
int FittedWidth(QTreeView* details) {
  const int shown = details->header()->sectionSize(0);
  details->resizeColumnToContents(0);
  const int fitted = details->header()->sectionSize(0);
  details->header()->resizeSection(0, shown);
  return fitted;
}

TEST_F(GetPhotoFixture, TheDetailsColumnFitsEachFolderShown) {
  const QString longName = "A long afternoon on the beach at Saint-Jean-de-Luz, summer 2001.jpg";
  ASSERT_TRUE(WritePicture(pictures + "/Trips/" + longName, 32, 24));
  ASSERT_TRUE(QDir().mkpath(pictures + "/archive/empty"));
  for (int i = 0; i < 60; ++i)
    ASSERT_TRUE(WritePicture(pictures + QString("/archive/%1.jpg").arg(i, 2, 10, QChar('0')), 8, 8));
  ASSERT_TRUE(WritePicture(pictures + "/archive/30 " + longName, 8, 8));

  auto wizard = makeWizard();
  CPickFilePage* page = wizard->pickPage();
  page->viewMenu()->findChild<QAction*>("59411")->trigger();
  auto* details = qobject_cast<QTreeView*>(page->fileList()->view());
  ASSERT_NE(details, nullptr);
  EXPECT_EQ(details->header()->sectionSize(0), FittedWidth(details));

  const int longWidth = details->fontMetrics().horizontalAdvance(longName);
  struct Step {
    QString folder;
    bool wide;
  };
  // Into a folder with a long name, out again, into one with it below the visible rows,
  // into an empty one.
  for (const Step& step : {Step{pictures + "/Trips", true}, Step{pictures, false},
                           Step{pictures + "/archive", true}, Step{pictures + "/archive/empty", false},
                           Step{pictures, false}}) {
    SCOPED_TRACE(step.folder.toStdString());
    page->openFolder(step.folder);
    QCoreApplication::processEvents();
    const int width = details->header()->sectionSize(0);
    EXPECT_EQ(width, FittedWidth(details));
    if (step.wide) EXPECT_GT(width, longWidth);
    else EXPECT_LT(width, longWidth);
  }
}

}  // namespace
