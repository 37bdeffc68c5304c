#include <QTimer>

#include "MainWindowFixture.h"
#include "getphoto/CGetPhotoWizard.h"
#include "getphoto/PhotoScanner.h"
#include "krn/ltkrn.h"
#include "controls/CommandIds.h"

namespace {

class NoScannerLibrary : public PhotoScanner {
 public:
  bool isAvailable() override { return false; }
  QStringList sources() override { return {}; }
  int select(const QString&) override { return ERROR_FAILURE; }
  int acquire(ImageBitmap&, int, const ScanOptionsCallback&) override { return ERROR_FAILURE; }
};

TEST_F(MainWindowFixture, GetANewPhotoRunsTheWizardOnMyPhotos) {
  NoScannerLibrary scanner;
  MainWindowServices services;
  services.prompter = &prompter;
  services.semaphores = &semaphores;
  services.settingsFile = settingsFile();
  services.helpFolder = helpFolder;
  services.scanner = &scanner;
  CMainDialog window(services);
  window.setCurrentTab(MainTab::Fun);

  QString title;
  QObject::connect(&window, &CMainDialog::getPhotoWizardOpened, &window,
                   [&title](CGetPhotoWizard* wizard) {
                     QTimer::singleShot(0, wizard, [wizard, &title] {
                       title = wizard->windowTitle();
                       wizard->reject();
                     });
                   });
  ASSERT_TRUE(window.onCommand(kCommandGetPhoto));
  EXPECT_EQ(title, "Choose a Photo File");
  EXPECT_EQ(window.currentTab(), MainTab::MyPhotos);
}

}  // namespace
