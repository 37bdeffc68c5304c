#include <QApplication>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>
#include <QTimer>

#include "MainWindowFixture.h"
#include "controls/CPictureListBox.h"
#include "controls/CPicturePreview.h"
#include "controls/CViewPhotoDialog.h"
#include "controls/CommandIds.h"
#include "krn/ltkrn.h"
#include "library/PhotoListModel.h"
#include "library/PhotoStore.h"
#include "mainwindow/CMainTabControl.h"
#include "myphotos/CEditCommentDialog.h"
#include "myphotos/CMyPhotosPage.h"
#include "system/Folders.h"

namespace {

// A window over a store of the given photos, its list filled.
class MyPhotosPageTest : public MainWindowFixture {
 protected:
  void store(const QStringList& names) {
    PhotoStore photos(GetMyPhotosFolder());
    ASSERT_TRUE(photos.EnsureFolder());
    QImage image(80, 60, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    for (const QString& name : names) {
      ImageBitmap bmp;
      SetBitmapImage(bmp, image);
      ASSERT_EQ(photos.StorePhoto(bmp, name, QString()), SUCCESS);
    }
  }
  void open() {
    window = makeWindow();
    window->show();
    QSignalSpy filled(&window->myPhotos(), &CMyPhotosPage::photoListFilled);
    ASSERT_TRUE(filled.wait(5000));
  }
  std::unique_ptr<CMainDialog> window;
};

TEST_F(MyPhotosPageTest, AfterDeleteTheFirstPhotoIsSelectedNotTheOneThatMovedUp) {
  store({"Alps", "Beach", "Cave", "Dune"});
  open();
  CMyPhotosPage& page = window->myPhotos();
  ASSERT_EQ(page.photoModel().count(), 4);
  const int beach = page.photoModel().findExact("Beach");
  ASSERT_GE(beach, 1);
  page.photoList()->setCurrentRow(beach);
  prompter.answer(Prompter::Answer::Yes);
  window->onCommand(kCommandDelete);
  // The watcher takes the photo out of the list once the folder says so.
  ASSERT_TRUE(QTest::qWaitFor([&page] { return page.photoModel().count() == 3; }, 5000));
  EXPECT_TRUE(QTest::qWaitFor([&page] { return page.photoList()->currentRow() == 0; }, 5000));
  EXPECT_EQ(page.selectedStem(), page.photoModel().text(0));
}

TEST_F(MyPhotosPageTest, EditCommentsPreviewOpensTheFullSizeView) {
  store({"Beach"});
  open();
  window->myPhotos().photoList()->setCurrentRow(0);
  QString viewTitle;
  // The Edit Comment dialog comes up first; a click on its preview opens the full view over it.
  QTimer::singleShot(0, [&viewTitle] {
    auto* dialog = qobject_cast<CEditCommentDialog*>(QApplication::activeModalWidget());
    ASSERT_TRUE(dialog);
    QTimer::singleShot(0, [&viewTitle, dialog] {
      if (auto* view = qobject_cast<CViewPhotoDialog*>(QApplication::activeModalWidget())) {
        viewTitle = view->windowTitle();
        view->reject();
      }
      dialog->reject();
    });
    auto* preview = dialog->findChild<CPicturePreview*>("1006");
    ASSERT_TRUE(preview);
    QMouseEvent click(QEvent::MouseButtonRelease, QPointF(5, 5), preview->mapToGlobal(QPointF(5, 5)),
                      Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(preview, &click);
  });
  window->onCommand(kCommandEditComment);
  EXPECT_TRUE(viewTitle.startsWith("View Full Photo")) << viewTitle.toStdString();
}

TEST_F(MyPhotosPageTest, TheLabelColumnStacksWithoutOverlapAndBoldTabTextsFit) {
  open();
  window->setCurrentTab(MainTab::PrintLabels);
  auto geometry = [this](const char* id) { return window->findChild<QWidget*>(id)->geometry(); };
  const QRect instructions = geometry("1073");
  const QRect pick = geometry("1010");
  const QRect caption = geometry("1050");
  const QRect name = geometry("1020");
  EXPECT_LT(instructions.bottom(), pick.top());
  EXPECT_LT(pick.bottom(), caption.top());
  EXPECT_LT(caption.bottom(), name.top());
  EXPECT_LE(name.bottom(), window->centralWidget()->height());

  // Each tab is wide enough for its text in bold, the way the selected tab draws it: the
  // text starts 11 pixels in (the private program folder has no tab pictures) and keeps
  // 14 pixels clear of the tab's end.
  QTabBar* bar = window->findChild<CMainTabControl*>("1007")->tabBar();
  QFont bold = bar->font();
  bold.setBold(true);
  for (int i = 0; i < bar->count(); ++i)
    EXPECT_GE(bar->tabRect(i).width(), QFontMetrics(bold).horizontalAdvance(bar->tabText(i)) + 25)
        << bar->tabText(i).toStdString();
}

}  // namespace
