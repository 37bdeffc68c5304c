#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>

#include "MainWindowFixture.h"
#include "myphotos/HintGeometry.h"
#include "fun/CFunPage.h"
#include "myphotos/CMyPhotosPage.h"
#include "controls/CPictureListBox.h"
#include "library/PhotoListModel.h"
#include "controls/CommandIds.h"
#include "mainwindow/ToolbarImages.h"

namespace {
bool Shown(CMainDialog& window, int id) {
  QWidget* control = window.findChild<QWidget*>(QString::number(id));
  return control && control->isVisibleTo(&window);
}
}  // namespace

TEST_F(MainWindowFixture, EachTabShowsExactlyItsControlsAndInstructions) {
  auto window = makeWindow();
  window->show();
  EXPECT_EQ(window->currentTab(), MainTab::MyPhotos);
  const QList<int> perTab[kMainTabCount] = {
      {1070},
      {1010, 1078, 1079, 1080, 1081, 1082, 1083, 1085, 1112, 1159},
      {1010, 1011, 1050, 1020},
      {1090, 1091, 1092, 1093, 1094},
      {1071}};
  const QList<int> all = {1070, 1071, 1010, 1011, 1050, 1020, 1078, 1079, 1080, 1081,
                          1082, 1083, 1085, 1112, 1159, 1090, 1091, 1092, 1093, 1094};
  auto* instructions = window->findChild<QPlainTextEdit*>("1073");
  ASSERT_TRUE(instructions);
  for (int tab = 0; tab < kMainTabCount; ++tab) {
    window->setCurrentTab(MainTab(tab));
    for (int id : all) EXPECT_EQ(Shown(*window, id), perTab[tab].contains(id)) << tab << " " << id;
    EXPECT_TRUE(Shown(*window, 1073));
    EXPECT_TRUE(Shown(*window, 1007));
    EXPECT_EQ(instructions->toPlainText(), window->page(MainTab(tab))->instructions());
  }
  // The instructions keep their exact texts, typos and all.
  EXPECT_TRUE(window->page(MainTab::MyPhotos)->instructions().contains("The most exicing feature of Brivane"));
  EXPECT_EQ(window->page(MainTab::Publish)->instructions(),
            "Just click <Put my photos on the web>.  Then get ready to share your photos!");

  // Publish disables every photo command.
  window->setCurrentTab(MainTab::Publish);
  for (int command : {kCommandCrop, kCommandDelete, kCommandView, kCommandPrint, kCommandRename,
                      kCommandEditComment, kCommandClear, kCommandFunCalendar})
    EXPECT_FALSE(window->commandAction(command)->isEnabled()) << command;
  EXPECT_TRUE(window->commandAction(kCommandGetPhoto)->isEnabled());

  window->resize(300, 200);
  EXPECT_GE(window->width(), 640);
  EXPECT_GE(window->height(), 480);
}

TEST_F(MainWindowFixture, MenusToolbarAndPopupShareTheCommands) {
  auto window = makeWindow();
  for (int command : {32785, 32786, 32806, 32805, 32816, 32827, 32771, 32792, 32793, 32794, 1259,
                      32809, 32795, 32810, 32823, 32824, 32825, 32826, 32796, 32799, 32800, 32814,
                      32817, 32779, 32813, 32818, 32819, 32820, 32821, 32828, 32822}) {
    QAction* action = window->commandAction(command);
    ASSERT_TRUE(action) << command;
    EXPECT_EQ(action->objectName(), QString::number(command));
    EXPECT_EQ(action->data().toInt(), command);
  }
  EXPECT_EQ(window->commandAction(32792)->text(), "&Get a New Photo");
  // The service entry names the service's site (the local service unless set).
  EXPECT_EQ(window->commandAction(32828)->text(), "Visit localhost on the web");

  auto* toolbar = window->findChild<QToolBar*>("toolbar");
  ASSERT_TRUE(toolbar);
  QStringList texts;
  for (QAction* action : toolbar->actions()) texts << action->iconText();
  EXPECT_EQ(texts, QStringList({"Get Photo", "Enhance", "Crop", "Caption", "Edges", "Red Eye",
                                "Clear", "Templates", "View", "Print", "Delete"}));

  // With no photo the photo commands are off in menu, toolbar and pop-up alike.
  ASSERT_EQ(window->myPhotos().photoModel().count(), 0);
  EXPECT_FALSE(window->commandAction(kCommandCrop)->isEnabled());
  EXPECT_FALSE(toolbar->actions()[2]->isEnabled());
  EXPECT_TRUE(window->photoPopup()->actions().contains(window->commandAction(kCommandCrop)));
  EXPECT_EQ(window->photoPopup()->objectName(), "184");
}

TEST_F(MainWindowFixture, TheFunListHasItsSixActivities) {
  auto window = makeWindow();
  const PhotoListModel& fun = window->fun().funModel();
  ASSERT_EQ(fun.count(), 6);
  EXPECT_EQ(fun.text(0), "Create a Sports Card");
  EXPECT_EQ(fun.text(5), "Create a Screen Saver");
  // The private program folder has no pictures: the entries show only their text.
  ASSERT_TRUE(fun.item(0));
  EXPECT_TRUE(fun.item(0)->Thumbnail.isEmpty());
}

TEST_F(MainWindowFixture, TheHintShowsDescriptionsOnMyPhotosOnly) {
  auto window = makeWindow();
  window->show();
  QSignalSpy filled(&window->myPhotos(), &CMyPhotosPage::photoListFilled);
  ASSERT_TRUE(filled.wait(5000));
  auto item = std::make_shared<PhotoItem>();
  item->Description = QString(80, 'w');
  window->myPhotos().photoModel().append("Beach", item);
  window->myPhotos().photoModel().append("Plain", std::make_shared<PhotoItem>());

  window->myPhotos().showPhotoHint(0, QPoint(10, 10));
  QLabel* hint = window->myPhotos().hint();
  ASSERT_TRUE(hint->isVisible());
  EXPECT_EQ(hint->text(), item->Description);
  const int textWidth = hint->fontMetrics().horizontalAdvance(item->Description);
  ASSERT_GE(textWidth, 200);
  EXPECT_EQ(hint->width(), 204);
  // The whole wrapped text shows, drawn with the hint's own font.
  EXPECT_EQ(hint->height(), HintSize(hint->fontMetrics(), item->Description).height());
  EXPECT_GE(hint->height(), hint->heightForWidth(hint->width()));
  EXPECT_EQ(hint->palette().color(QPalette::Window), QColor(255, 255, 128));
  EXPECT_EQ(hint->pos(), window->myPhotos().photoList()->viewport()->mapTo(window->myPhotos().photoList(), QPoint(10, 26)));

  window->myPhotos().showPhotoHint(1, QPoint(10, 10));  // no description
  EXPECT_FALSE(hint->isVisible());
  window->myPhotos().showPhotoHint(0, QPoint(10, 10));
  window->myPhotos().showPhotoHint(-1, QPoint(10, 10));
  EXPECT_FALSE(hint->isVisible());
  window->setCurrentTab(MainTab::Fun);
  window->myPhotos().showPhotoHint(0, QPoint(10, 10));
  EXPECT_FALSE(hint->isVisible());
}

TEST_F(MainWindowFixture, ToolbarImagesAreCutWithMagentaTransparent) {
  QImage strip(3 * 29 - 5, 28, QImage::Format_RGB888);
  strip.fill(QColor(0xFF, 0x00, 0xFF));
  strip.setPixelColor(29, 0, Qt::red);         // image 1, top left
  strip.setPixelColor(2 * 29 - 1, 27, Qt::blue);  // image 1, bottom right
  const QList<QPixmap> images = CutToolbarImages(strip, 4);
  ASSERT_EQ(images.size(), 4);
  const QImage second = images[1].toImage();
  EXPECT_EQ(second.size(), QSize(29, 28));
  EXPECT_EQ(second.pixelColor(0, 0), QColor(Qt::red));
  EXPECT_EQ(second.pixelColor(28, 27), QColor(Qt::blue));
  EXPECT_EQ(second.pixelColor(1, 0).alpha(), 0);
  EXPECT_EQ(images[0].toImage().pixelColor(0, 0).alpha(), 0);
  // Past the strip's end the images are empty, not garbage.
  EXPECT_EQ(images[3].toImage().pixelColor(0, 0).alpha(), 0);
}
