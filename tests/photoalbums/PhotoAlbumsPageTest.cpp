// The Photo Albums tab as a user drives it: albums and pages made and deleted, photos put
// on pages, and everything found again after a restart.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "albums/AlbumFile.h"
#include "controls/CInputLineDialog.h"
#include "controls/CPickPhotoDialog.h"
#include "controls/CPictureListBox.h"
#include "controls/CommandIds.h"
#include "controls/PageView.h"
#include "krn/ltkrn.h"
#include "labels/LabelTemplates.h"
#include "library/PhotoStore.h"
#include "library/Settings.h"
#include "photoalbums/CPhotoAlbumsPage.h"
#include "photoalbums/CPickAlbumPageDialog.h"
#include "support/ScriptedPrompter.h"
#include "support/TabPageTesting.h"
#include "support/TestFeatureHost.h"
#include "support/TestPictures.h"

namespace {
char programName[] = "photoalbums_tests";
int argc = 1;
char* argv[] = {programName, nullptr};

class PhotoAlbumsPage : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(program.isValid());
    qputenv("BRIVANE_PROGRAM_FOLDER", QFile::encodeName(program.path()));
    store = std::make_unique<PhotoStore>(program.filePath("myphotos") + "/");
    ASSERT_TRUE(store->EnsureFolder());
    for (const char* name : {"Zoo", "alps", "Beach"}) {
      ImageBitmap picture;
      CreateBitmap(picture, 1, 300, 210, 24, ColorOrder::Bgr, nullptr, TopLeft);
      FillBitmap(picture, qRgb(200, 80, 40));
      ASSERT_EQ(store->StorePhoto(picture, QString::fromLatin1(name), QString()), SUCCESS);
      host().photos.append(QString::fromLatin1(name), std::make_shared<const PhotoItem>());
    }
    templates = LoadLabelTemplates(QString::fromUtf8(BRIVANE_PROGRAM_DIR) + "labels.dat");
    ASSERT_NE(templates.DefaultAlbumLayout(), nullptr);
    start();
  }
  void TearDown() override {
    page.reset();
    qunsetenv("BRIVANE_PROGRAM_FOLDER");
  }

  // Starts the tab as the program does, over what the program folder holds.
  void start() {
    page.reset();
    content = std::make_unique<QWidget>();
    content->resize(1000, 700);
    page = std::make_unique<CPhotoAlbumsPage>(host(), templates, content.get(), nullptr);
    ShowTabPage(*page, *content);
    waitForPage();
  }
  void waitForPage() { ASSERT_TRUE(WaitFor([this] { return !page->isLoading(); })); }

  TestFeatureHost& host() {
    if (!m_host) {
      settings = std::make_unique<Settings>(program.filePath("quendal.ini"));
      m_host = std::make_unique<TestFeatureHost>(*store, *settings, prompter, program.filePath("registry.ini"));
    }
    return *m_host;
  }
  void createAlbum(const QString& name) {
    WhenModalOpens<CInputLineDialog>([name](CInputLineDialog& dialog) {
      dialog.findChild<QLineEdit*>("1086")->setText(name);
      dialog.accept();
    });
    page->createAlbum();
    waitForPage();
  }
  void createPage(const QString& code) {
    WhenModalOpens<CPickAlbumPageDialog>([this, code](CPickAlbumPageDialog& dialog) {
      const auto& layouts = templates.AlbumLayouts();
      for (size_t k = 0; k < layouts.size(); ++k)
        if (layouts[k]->Code == code) dialog.layoutList()->setCurrentRow(int(k));
      dialog.accept();
    });
    page->createPage();
    waitForPage();
  }
  QStringList names() const { return page->shownPage().Names; }
  QStringList tabs() const {
    QStringList captions;
    auto* pages = page->control(1085)->findChild<QTabBar*>();
    for (int k = 0; k < pages->count(); ++k) captions << pages->tabText(k);
    return captions;
  }

  QApplication application{argc, argv};
  QTemporaryDir program;
  ScriptedPrompter prompter;
  std::unique_ptr<PhotoStore> store;
  std::unique_ptr<Settings> settings;
  std::unique_ptr<TestFeatureHost> m_host;
  LabelTemplateList templates;
  std::unique_ptr<QWidget> content;
  std::unique_ptr<CPhotoAlbumsPage> page;
};

TEST_F(PhotoAlbumsPage, AlbumsMadeAndFilledAreFoundAgainAfterARestart) {
  // No albums: one page of no album, with the default layout, and nothing to put on it.
  EXPECT_TRUE(page->albums().empty());
  EXPECT_EQ(tabs(), QStringList{"Page 1"});
  EXPECT_EQ(page->shownPage().LayoutCode, "C2166");
  page->onCommand(kCommandPickPhoto);
  page->createPage();
  ASSERT_EQ(prompter.prompts().size(), 2);
  EXPECT_EQ(prompter.prompts()[0].text,
            "You have not created a photo album yet.  Please click <Create Photo Album>");

  createAlbum("Summer");
  ASSERT_EQ(page->albums().size(), 1u);
  EXPECT_EQ(page->albums()[0].Pages.size(), 1u);
  page->placePhoto("Zoo", false);
  EXPECT_EQ(page->pageView()->selectedCell(), 1);
  page->placePhoto("alps", true);
  EXPECT_EQ(names(), (QStringList{"Zoo", "alps", "alps", "alps"}));
  createPage("C3274");
  EXPECT_EQ(tabs(), (QStringList{"Page 1", "Page 2"}));
  EXPECT_EQ(page->currentPage(), 1);
  EXPECT_EQ(page->shownPage().LayoutCode, "C3274");
  page->placePhoto("Beach", false);
  // Dragged from the first place to the fifth.
  PageView& view = *page->pageView();
  QTest::mousePress(&view, Qt::LeftButton, {}, view.places()[0].Rect.center());
  QTest::mouseMove(&view, view.places()[4].Rect.center());
  QTest::mouseRelease(&view, Qt::LeftButton, {}, view.places()[4].Rect.center());
  EXPECT_EQ(names().mid(0, 5), (QStringList{"", "", "", "", "Beach"}));

  // A second album of the same name, and a third page deleted again.
  createAlbum("Summer");
  createPage("C2352");
  EXPECT_EQ(tabs(), (QStringList{"Page 1", "Page 2"}));
  prompter.answer(Prompter::Answer::Yes);
  page->deletePage();
  EXPECT_EQ(tabs(), QStringList{"Page 1"});

  start();
  ASSERT_EQ(page->albums().size(), 2u);
  EXPECT_EQ(page->albums()[1].Name, "Summer");
  EXPECT_EQ(page->currentAlbum(), 0);
  EXPECT_EQ(tabs(), (QStringList{"Page 1", "Page 2"}));
  EXPECT_EQ(names(), (QStringList{"Zoo", "alps", "alps", "alps"}));
  for (int k = 0; k < 4; ++k) {
    ASSERT_TRUE(page->cells().HoldsPicture(k)) << k;
    // Pages hold their photos at a third of their size.
    EXPECT_EQ(page->cells().Cell(k).Working->Width, 100);
  }
  page->selectPage(1);
  waitForPage();
  EXPECT_EQ(page->shownPage().Name(4), "Beach");
  EXPECT_TRUE(page->cells().HoldsPicture(4));
}

TEST_F(PhotoAlbumsPage, DeletingKeepsWhatMustStay) {
  createAlbum("One");
  page->placePhoto("Zoo", false);
  // The only page stays, blank.
  prompter.answer(Prompter::Answer::Yes);
  page->deletePage();
  EXPECT_EQ(tabs(), QStringList{"Page 1"});
  EXPECT_EQ(names(), (QStringList{"", "", "", ""}));
  EXPECT_FALSE(page->cells().AnyUsed());
  // Three pages, the second deleted: two left, numbered 1 and 2, the first shown.
  createPage("C2160");
  createPage("C2242");
  page->selectPage(1);
  waitForPage();
  prompter.answer(Prompter::Answer::Yes);
  page->deletePage();
  EXPECT_EQ(tabs(), (QStringList{"Page 1", "Page 2"}));
  EXPECT_EQ(page->currentPage(), 0);
  EXPECT_EQ(page->albums()[0].Pages[1].LayoutCode, "C2242");

  // An album deleted is recorded for the web service, once per deletion.
  createAlbum("One");
  prompter.answer(Prompter::Answer::No);
  page->deleteAlbum();
  EXPECT_EQ(page->albums().size(), 2u);
  prompter.answer(Prompter::Answer::Yes);
  page->deleteAlbum();
  EXPECT_EQ(page->albums().size(), 1u);
  EXPECT_EQ(page->currentAlbum(), 0);
  QFile deleted(program.filePath("deletealbums.dat"));
  ASSERT_TRUE(deleted.open(QIODevice::ReadOnly));
  EXPECT_EQ(deleted.readAll(), QByteArray("One\r\n"));
}

TEST_F(PhotoAlbumsPage, NamesThatWouldBreakTheFileAreRefusedAndPhotosAreFollowed) {
  WhenModalOpens<CInputLineDialog>([this](CInputLineDialog& dialog) {
    dialog.findChild<QLineEdit*>("1086")->setText("Two\tlines");
    QTimer::singleShot(0, [this] {
      auto* again = qobject_cast<CInputLineDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(again, nullptr);
      again->reject();
    });
    dialog.accept();
  });
  page->createAlbum();
  EXPECT_TRUE(page->albums().empty());
  ASSERT_EQ(prompter.prompts().size(), 1);
  EXPECT_TRUE(prompter.prompts()[0].text.contains("cannot hold a line break"));

  createAlbum("Pets");
  page->placePhoto("Zoo", false);
  page->placePhoto("alps", false);
  page->photoRenamed("Zoo", "Lions");
  page->photoDeleted("alps");
  start();
  EXPECT_EQ(names(), (QStringList{"Lions", "", "", ""}));
}

TEST_F(PhotoAlbumsPage, PagesTheTemplatesDoNotKnowAndAlbumsWithoutPagesAreKeptAsTheyAre) {
  const QByteArray file =
      "2\r\nOld\r\n1\r\nX999\r\n6\r\n\r\nZoo\r\n\r\n\r\n\r\n\r\nalps\r\nEmpty\r\n0\r\n";
  QFile out(program.filePath("photos.dat"));
  ASSERT_TRUE(out.open(QIODevice::WriteOnly));
  out.write(file);
  out.close();
  start();
  // Shown with the default layout; the page keeps its code and the name beyond its places.
  EXPECT_EQ(page->shownPage().LayoutCode, "X999");
  EXPECT_EQ(page->pageView()->pageTemplate(), templates.DefaultAlbumLayout());
  EXPECT_TRUE(page->cells().HoldsPicture(0));
  page->pageView()->selectCell(1);
  page->placePhoto("Beach", false);
  QFile saved(program.filePath("photos.dat"));
  ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
  EXPECT_EQ(saved.readAll(), QByteArray(file).replace("Zoo\r\n\r\n", "Zoo\r\nBeach\r\n"));

  // An album without pages shows a page of no album; what is put there is not written.
  page->selectAlbum(1);
  waitForPage();
  EXPECT_EQ(tabs(), QStringList{"Page 1"});
  page->placePhoto("Zoo", false);
  EXPECT_TRUE(page->cells().HoldsPicture(0));
  EXPECT_TRUE(page->albums()[1].Pages.empty());
  start();
  EXPECT_TRUE(page->albums()[1].Pages.empty());
}

TEST_F(PhotoAlbumsPage, AnAlbumFileThatCannotBeWrittenIsToldOnce) {
  ASSERT_TRUE(QDir(program.path()).mkdir("photos.dat"));
  createAlbum("Lost");
  page->placePhoto("Zoo", false);
  int told = 0;
  for (const auto& prompt : prompter.prompts()) told += prompt.text.contains("could not be saved");
  EXPECT_EQ(told, 1);
  EXPECT_EQ(page->albums().size(), 1u) << "the album lives on in memory";
}

TEST_F(PhotoAlbumsPage, Screenshots) {
  const QString folder = QString::fromUtf8(BRIVANE_SCREENSHOT_DIR);
  ASSERT_TRUE(QDir().mkpath(folder));
  createAlbum("Holidays");
  page->placePhoto("Zoo", false);
  page->placePhoto("Beach", true);
  createPage("C2352");
  page->placePhoto("alps", true);
  QCoreApplication::processEvents();
  EXPECT_TRUE(content->grab().save(folder + "photo-albums.png"));
  WhenModalOpens<CPickAlbumPageDialog>([folder](CPickAlbumPageDialog& dialog) {
    dialog.layoutList()->setCurrentRow(2);
    QCoreApplication::processEvents();
    EXPECT_TRUE(dialog.grab().save(folder + "pick-album-page.png"));
    dialog.reject();
  });
  page->createPage();
}
}  // namespace
