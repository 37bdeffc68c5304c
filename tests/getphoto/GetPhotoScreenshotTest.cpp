#include <QDir>
#include <QLineEdit>
#include <QPixmap>

#include "GetPhotoFixture.h"
#include "support/TestPictures.h"
#include "controls/CDescriptionEdit.h"
#include "getphoto/CFileBrowserList.h"
#include "getphoto/CNamePage.h"
#include "getphoto/CPickFilePage.h"
#include "getphoto/PhotoScanner.h"
#include "library/PreviewDecoder.h"
#include "krn/ltkrn.h"

namespace {

class NoDeviceScanner : public PhotoScanner {
 public:
  bool isAvailable() override { return true; }
  QStringList sources() override { return {"Flatbed scanner", "Camera"}; }
  int select(const QString&) override { return SUCCESS; }
  int acquire(ImageBitmap&, int, const ScanOptionsCallback&) override { return ERROR_FAILURE; }
};

// Pictures of the three pages for people to look at; they check only that each was taken.
TEST_F(GetPhotoFixture, ScreenshotsOfThePages) {
  QDir().mkpath(BRIVANE_SCREENSHOT_DIR);
  const auto save = [](QWidget* widget, const char* name) {
    QCoreApplication::processEvents();
    return widget->grab().save(QString(BRIVANE_SCREENSHOT_DIR) + name);
  };
  NoDeviceScanner scanner;
  auto wizard = makeWizard(&scanner);
  EXPECT_TRUE(save(wizard.get(), "getphoto-open.png"));

  wizard->setActivePage(wizard->pickPage());
  CPickFilePage* page = wizard->pickPage();
  page->fileList()->setCurrentRow(page->fileList()->rowOf("Holiday 2001.jpg"));
  page->checkSelection();
  ASSERT_TRUE(WaitFor([&] { return page->decoder().isDone(); }));
  EXPECT_TRUE(save(wizard.get(), "getphoto-pick.png"));

  page->openSelected();
  wizard->namePage()->descriptionEdit()->setPlainText("The beach at Sables-d'Or");
  EXPECT_TRUE(save(wizard.get(), "getphoto-name.png"));
}

}  // namespace
