#include "GetPhotoFixture.h"

#include <QDir>

#include "support/TestPictures.h"
#include "getphoto/CFileBrowserList.h"
#include "getphoto/CPickFilePage.h"
#include "library/PreviewDecoder.h"
#include "krn/ltkrn.h"

namespace {
char programName[] = "getphoto_tests";
}

int GetPhotoFixture::argc = 1;
char* GetPhotoFixture::argv[] = {programName, nullptr};

void GetPhotoFixture::SetUp() {
  // The logo, cursors and preview pattern come from the build's program folder.
  qputenv("BRIVANE_PROGRAM_FOLDER", BRIVANE_PROGRAM_DIR);
  ASSERT_TRUE(home.isValid());
  pictures = home.filePath("Pictures");
  ASSERT_TRUE(QDir().mkpath(pictures + "/Trips"));
  ASSERT_TRUE(QDir().mkpath(pictures + "/archive"));
  ASSERT_TRUE(WritePicture(pictures + "/Holiday 2001.jpg", 320, 240));
  ASSERT_TRUE(WritePicture(pictures + "/garden.png", 64, 48, "PNG"));
  ASSERT_TRUE(WritePicture(pictures + "/Beach.jpg", 200, 300));
  ASSERT_TRUE(WriteText(pictures + "/notes.txt", "not a picture"));
  ASSERT_TRUE(QDir().mkpath(home.filePath("My Photos")));
  store = std::make_unique<PhotoStore>(home.filePath("My Photos") + "/");
  settings = std::make_unique<Settings>(home.filePath("quendal.ini"));
  settings->setLastFolderRead(pictures);
  host = std::make_unique<TestFeatureHost>(*store, *settings, prompter, home.filePath("registry.ini"));
}

void GetPhotoFixture::TearDown() {
  host.reset();
  qunsetenv("BRIVANE_PROGRAM_FOLDER");
}

std::unique_ptr<CGetPhotoWizard> GetPhotoFixture::makeWizard(PhotoScanner* scanner) {
  auto wizard = std::make_unique<CGetPhotoWizard>(*host, scanner);
  wizard->setActivePage(wizard->page(0));
  wizard->show();
  return wizard;
}

bool GetPhotoFixture::OpenFile(CPickFilePage* page, const QString& name) {
  const int row = page->fileList()->rowOf(name);
  if (row < 0) return false;
  page->fileList()->setCurrentRow(row);
  page->checkSelection();
  if (!WaitFor([&] { return page->decoder().isDone(); })) return false;
  page->openSelected();
  return true;
}
