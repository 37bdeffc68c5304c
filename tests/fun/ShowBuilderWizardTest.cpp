#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtEndian>

#include "fun/CNamePavonelPage.h"
#include "fun/CPavonelPage.h"
#include "fun/CShowBuilderWizard.h"
#include "krn/ltkrn.h"
#include "library/PhotoStore.h"
#include "library/PreviewDecoder.h"
#include "library/Settings.h"
#include "support/ScriptedPrompter.h"
#include "support/TestFeatureHost.h"
#include "system/RegistryStore.h"

namespace {

class ShowBuilderWizard : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(home.isValid());
    store = std::make_unique<PhotoStore>(home.filePath("My Photos") + "/");
    ASSERT_TRUE(store->EnsureFolder());
    for (const auto& [name, description] :
         {std::pair{"Zoo", "Lions"}, std::pair{"alps", "Snow"}, std::pair{"Beach", "Sand"}}) {
      ImageBitmap picture;
      InitBitmap(picture, 0, 0, 0);
      CreateBitmap(picture, 1, 120, 90, 24, ColorOrder::Bgr, nullptr, TopLeft);
      FillBitmap(picture, qRgb(200, 120, 40));
      ASSERT_EQ(store->StorePhoto(picture, QString::fromLatin1(name),
                                  QString::fromLatin1(description)),
                SUCCESS);
      FreeBitmap(picture);
    }
    QDir().mkpath(home.filePath("shows"));
    settings = std::make_unique<Settings>(home.filePath("quendal.ini"));
    host = std::make_unique<TestFeatureHost>(*store, *settings, prompter, home.filePath("registry.ini"));
    programFolder = QString::fromUtf8(BRIVANE_PROGRAM_DIR);
    setSystemFolder(home.filePath("system"));
    qputenv("BRIVANE_PROGRAM_FOLDER", QFile::encodeName(programFolder));
  }
  void TearDown() override {
    qunsetenv("BRIVANE_PROGRAM_FOLDER");
    qunsetenv("BRIVANE_SYSTEM_FOLDER");
  }
  static void setSystemFolder(const QString& folder) { qputenv("BRIVANE_SYSTEM_FOLDER", QFile::encodeName(folder)); }
  RegistryStore& registry() { return host->registry(); }
  // The shows the wizard started.
  const QStringList& opened() const { return host->programs.calls; }

  std::unique_ptr<CShowBuilderWizard> makeWizard(ShowKind kind) {
    auto wizard = std::make_unique<CShowBuilderWizard>(*host, kind);
    wizard->setActivePage(wizard->photosPage());
    wizard->show();
    return wizard;
  }

  static QStringList Column(const QTreeWidget* list) {
    QStringList texts;
    for (int i = 0; i < list->topLevelItemCount(); ++i) texts.append(list->topLevelItem(i)->text(0));
    return texts;
  }

  static int argc;
  static char* argv[];
  QApplication application{argc, argv};
  QTemporaryDir home;
  std::unique_ptr<PhotoStore> store;
  std::unique_ptr<Settings> settings;
  ScriptedPrompter prompter;
  std::unique_ptr<TestFeatureHost> host;
  QString programFolder;
};
char name[] = "fun_tests";
int ShowBuilderWizard::argc = 1;
char* ShowBuilderWizard::argv[] = {name, nullptr};

TEST_F(ShowBuilderWizard, ThePhotosPageChoosesPhotosInOrder) {
  auto wizard = makeWizard(ShowKind::SlideShow);
  CPavonelPage* page = wizard->photosPage();
  EXPECT_EQ(wizard->windowTitle(), "Slide Show");
  // Thumbnails are not offered; names come as a folder listing gives them.
  EXPECT_EQ(Column(page->available()), QStringList({"alps", "Beach", "Zoo"}));
  EXPECT_EQ(page->available()->topLevelItem(1)->text(1), "Sand");
  EXPECT_EQ(page->available()->currentItem()->text(0), "alps");
  EXPECT_FALSE(wizard->nextButton()->isEnabled());
  EXPECT_TRUE(wizard->backButton()->isHidden());
  EXPECT_FALSE(page->removeButton()->isEnabled());
  EXPECT_FALSE(page->clearButton()->isEnabled());

  // Add moves on to the next photo and from the last back to the first.
  page->add();
  page->add();
  page->add();
  page->add();
  EXPECT_EQ(Column(page->chosen()), QStringList({"alps", "Beach", "Zoo", "alps"}));
  EXPECT_EQ(page->available()->currentItem()->text(0), "Beach");
  EXPECT_TRUE(wizard->nextButton()->isEnabled());
  EXPECT_TRUE(page->clearButton()->isEnabled());

  page->chosen()->setCurrentItem(page->chosen()->topLevelItem(1));
  EXPECT_TRUE(page->removeButton()->isEnabled());
  page->remove();
  EXPECT_EQ(Column(page->chosen()), QStringList({"alps", "Zoo", "alps"}));
  EXPECT_FALSE(page->removeButton()->isEnabled());

  // Byte order puts capitals first; the second click turns the order round.
  page->sortList(page->available(), 0);
  EXPECT_EQ(Column(page->available()), QStringList({"Beach", "Zoo", "alps"}));
  page->sortList(page->available(), 0);
  EXPECT_EQ(Column(page->available()), QStringList({"alps", "Zoo", "Beach"}));
  page->sortList(page->chosen(), 1);
  EXPECT_EQ(Column(page->chosen()), QStringList({"Zoo", "alps", "alps"}));

  page->clear();
  EXPECT_FALSE(wizard->nextButton()->isEnabled());
  page->addAll();
  EXPECT_EQ(page->chosenStems(), QStringList({"alps", "Zoo", "Beach"}));
  wizard->pressNext();
  EXPECT_EQ(wizard->activePage(), wizard->namePage());
  EXPECT_EQ(wizard->showPhotos(), QStringList({"alps", "Zoo", "Beach"}));
}

TEST_F(ShowBuilderWizard, ThePhotoColumnShowsWholeNamesWhereThereIsRoom) {
  const QString longName = QStringLiteral("Grandma Birthday Party at the Lake");
  ImageBitmap picture;
  InitBitmap(picture, 0, 0, 0);
  CreateBitmap(picture, 1, 40, 30, 24, ColorOrder::Bgr, nullptr, TopLeft);
  ASSERT_EQ(store->StorePhoto(picture, longName, QString()), SUCCESS);
  FreeBitmap(picture);

  auto wizard = makeWizard(ShowKind::SlideShow);
  CPavonelPage* page = wizard->photosPage();
  page->addAll();
  QCoreApplication::processEvents();
  for (QTreeWidget* list : {page->available(), page->chosen()}) {
    EXPECT_GE(list->columnWidth(0), list->fontMetrics().horizontalAdvance(longName));
    EXPECT_EQ(list->columnWidth(0) + list->columnWidth(1), list->viewport()->width());
  }

  // Where the list is narrower than the name, the name gives way and Description stays.
  page->chosen()->setFixedWidth(page->chosen()->fontMetrics().horizontalAdvance(longName) / 2);
  QCoreApplication::processEvents();
  EXPECT_LT(page->chosen()->columnWidth(0), page->chosen()->viewport()->width());
  EXPECT_GT(page->chosen()->columnWidth(1), 0);
}

TEST_F(ShowBuilderWizard, ASlideShowIsBuiltFromTheChosenPhotosAndOffered) {
  auto wizard = makeWizard(ShowKind::SlideShow);
  CPavonelPage* page = wizard->photosPage();
  page->add();
  page->available()->setCurrentItem(page->available()->topLevelItem(0));
  page->add();
  page->available()->setCurrentItem(page->available()->topLevelItem(0));
  page->add();
  wizard->pressNext();
  CNamePavonelPage* name = wizard->namePage();
  EXPECT_EQ(wizard->windowTitle(), "Name Your Slide Show");
  EXPECT_EQ(name->folder(), programFolder);
  EXPECT_TRUE(name->useCheck()->isHidden());

  name->nameEdit()->setText("   ");
  EXPECT_TRUE(wizard->finishButton()->isVisible());
  EXPECT_FALSE(wizard->finishButton()->isEnabled());
  name->nameEdit()->setText("  Summer ");
  EXPECT_TRUE(wizard->finishButton()->isEnabled());
  prompter.reply(home.filePath("shows"));
  name->browse();
  EXPECT_EQ(name->folderLabel()->text(), home.filePath("shows") + "/");
  wizard->pressFinish();
  ASSERT_EQ(wizard->result(), QDialog::Accepted);

  prompter.answer(Prompter::Answer::Yes);
  const QString target = wizard->build();
  EXPECT_EQ(target, home.filePath("shows/Summer.exe"));
  ASSERT_FALSE(prompter.prompts().isEmpty());
  EXPECT_EQ(prompter.prompts().last().text, "Would you like to see your slide show now?");
  EXPECT_EQ(opened(), QStringList({target}));

  // The same photo three times: three copies of its bytes and a count of 3.
  QFile show(target);
  ASSERT_TRUE(show.open(QIODevice::ReadOnly));
  const QByteArray bytes = show.readAll();
  EXPECT_EQ(qFromLittleEndian<qint32>(bytes.constData() + bytes.size() - 4), 3);
  QFile photo(store->PhotoPath("alps"));
  ASSERT_TRUE(photo.open(QIODevice::ReadOnly));
  EXPECT_EQ(bytes.count(photo.readAll()), 3);
}

TEST_F(ShowBuilderWizard, AScreenSaverGoesToTheSystemFolderAndIsUsedWhenAsked) {
  const QString system = home.filePath("system");
  for (const bool use : {false, true}) {
    // The folder comes with its "/" or without; the sentence shows it without either way.
    setSystemFolder(use ? system + "/" : system);
    auto wizard = makeWizard(ShowKind::ScreenSaver);
    EXPECT_EQ(wizard->photosPage()->findChild<QLabel*>("1038")->text(),
              "Select the photos you want to be displayed in your screen saver.");
    wizard->photosPage()->add();
    wizard->pressNext();
    CNamePavonelPage* name = wizard->namePage();
    EXPECT_EQ(wizard->windowTitle(), "Name Your Screen Saver");
    EXPECT_EQ(name->folder(), system + "/");
    EXPECT_EQ(name->findChild<QLabel*>("1224")->text(),
              "Where would you like to save your screen saver?  The default is " + system + ".");
    EXPECT_FALSE(name->useCheck()->isHidden());
    name->nameEdit()->setText("Holiday");
    name->useCheck()->setChecked(use);
    wizard->pressFinish();
    const QString target = wizard->build();
    EXPECT_EQ(target, system + "/Holiday.scr");
    EXPECT_TRUE(QFile::exists(target));
    const auto saver = registry().queryValue("Control Panel\\Desktop", "SCRNSAVE.EXE");
    EXPECT_EQ(saver.has_value(), use);
    if (use) {
      EXPECT_EQ(registry().queryValue("Control Panel\\Desktop", "ScreenSaveActive"), "1");
    }
  }
  // A screen saver is never offered to be started.
  EXPECT_TRUE(opened().isEmpty());
}

TEST_F(ShowBuilderWizard, AShowThatCannotBeMadeIsReportedAndNotOffered) {
  qputenv("BRIVANE_PROGRAM_FOLDER", QFile::encodeName(home.filePath("no-programs") + "/"));
  auto wizard = makeWizard(ShowKind::SlideShow);
  wizard->photosPage()->add();
  wizard->pressNext();
  wizard->namePage()->nameEdit()->setText("Summer");
  wizard->pressFinish();
  EXPECT_TRUE(wizard->build().isEmpty());
  ASSERT_EQ(prompter.prompts().size(), 1);
  EXPECT_TRUE(prompter.prompts()[0].text.startsWith("Brivane could not make 'Summer': "));
  EXPECT_TRUE(opened().isEmpty());
}

}  // namespace

namespace {

// Pictures of the two pages for people to look at; they check only that each was taken.
TEST_F(ShowBuilderWizard, ScreenshotsOfThePages) {
  QDir().mkpath(BRIVANE_SCREENSHOT_DIR);
  auto wizard = makeWizard(ShowKind::SlideShow);
  wizard->photosPage()->add();
  wizard->photosPage()->checkSelection();
  for (int i = 0; i < 100 && !wizard->photosPage()->decoder().isDone(); ++i)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  EXPECT_TRUE(wizard->grab().save(QString(BRIVANE_SCREENSHOT_DIR) + "shows-photos.png"));
  wizard->pressNext();
  wizard->namePage()->nameEdit()->setText("Summer");
  QCoreApplication::processEvents();
  EXPECT_TRUE(wizard->grab().save(QString(BRIVANE_SCREENSHOT_DIR) + "shows-name.png"));
}

}  // namespace
