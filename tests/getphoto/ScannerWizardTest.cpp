#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "GetPhotoFixture.h"
#include "getphoto/CNamePage.h"
#include "getphoto/COpenPhotoPage.h"
#include "getphoto/CPickFilePage.h"
#include "getphoto/PhotoScanner.h"
#include "krn/ltkrn.h"

namespace {

// A scanner library with the given devices, whose scans end with the given result.
class FakeScanner : public PhotoScanner {
 public:
  FakeScanner(QStringList devices, int result) : m_devices(std::move(devices)), m_result(result) {}
  bool isAvailable() override { return true; }
  QStringList sources() override { return m_devices; }
  int select(const QString&) override { return SUCCESS; }
  int acquire(ImageBitmap&, int flags, const ScanOptionsCallback&) override {
    lastFlags = flags;
    return m_result;
  }
  int lastFlags = 0;

 private:
  QStringList m_devices;
  int m_result;
};

// The scanner cases, named apart so the sanitizer run can treat SANE's test device apart.
class ScannerWizard : public GetPhotoFixture {};

void ChooseDevice(COpenPhotoPage* page) {
  page->deviceChoice()->click();
}

TEST_F(ScannerWizard, QuickScanStoresAPhotoFromTheTestDevice) {
  // Before the scanner library starts, so only the virtual test device is seen.
  qputenv("SANE_CONFIG_DIR", BRIVANE_SANE_CONFIG_DIR);
  TwainPhotoScanner scanner;
  auto wizard = makeWizard(&scanner);
  COpenPhotoPage* open = wizard->openPage();
  ASSERT_NE(open, nullptr);
  EXPECT_EQ(wizard->windowTitle(), "Open a New Photo");
  EXPECT_TRUE(wizard->backButton()->isHidden());
  EXPECT_TRUE(open->fileChoice()->isChecked());
  EXPECT_FALSE(open->sources()->isEnabled());
  EXPECT_FALSE(open->quickScan()->isEnabled());

  ChooseDevice(open);
  ASSERT_GE(open->sources()->count(), 1);
  EXPECT_EQ(open->sources()->currentRow(), 0);
  EXPECT_TRUE(open->sources()->currentItem()->text().startsWith("test:"));
  open->quickScan()->setChecked(true);
  wizard->pressNext();
  ASSERT_EQ(wizard->activePage(), wizard->namePage());
  EXPECT_EQ(host->working.Width, 157);
  EXPECT_EQ(host->working.Height, 196);

  // Back returns to the source page, not to the file browser.
  wizard->pressBack();
  EXPECT_EQ(wizard->activePage(), open);
  wizard->pressNext();
  ASSERT_EQ(wizard->activePage(), wizard->namePage());
  wizard->namePage()->nameEdit()->setText("Scanned page");
  wizard->pressFinish();
  EXPECT_TRUE(store->Contains("Scanned page"));
  // The browser's folder is recorded even though it was never opened.
  EXPECT_EQ(settings->lastFolderRead(), pictures);
}

TEST_F(ScannerWizard, WithoutDevicesOrWithAFailingOneThePageStaysUsable) {
  FakeScanner none({}, SUCCESS);
  auto wizard = makeWizard(&none);
  COpenPhotoPage* open = wizard->openPage();
  ChooseDevice(open);
  wizard->pressNext();
  EXPECT_EQ(wizard->activePage(), open);

  FakeScanner failing({"Flatbed"}, ERROR_FAILURE);
  auto second = makeWizard(&failing);
  ChooseDevice(second->openPage());
  second->pressNext();
  EXPECT_EQ(failing.lastFlags, 3);
  EXPECT_EQ(second->activePage(), second->openPage());
  ASSERT_EQ(prompter.prompts().size(), 1);
  EXPECT_TRUE(prompter.prompts()[0].text.startsWith("Brivane could not get a picture from 'Flatbed'"));

  // The file choice goes on to the browser, which now offers Back.
  second->openPage()->fileChoice()->click();
  EXPECT_FALSE(second->openPage()->sources()->isEnabled());
  second->pressNext();
  EXPECT_EQ(second->activePage(), second->pickPage());
  EXPECT_TRUE(second->backButton()->isVisible());
  second->pressBack();
  EXPECT_EQ(second->activePage(), second->openPage());
}

}  // namespace
