#include <QDir>
#include <QElapsedTimer>
#include <QLinearGradient>
#include <QPainter>

#include "MainWindowFixture.h"
#include "myphotos/CMyPhotosPage.h"
#include "printlabels/CPrintLabelsPage.h"
#include "photoalbums/CPhotoAlbumsPage.h"
#include "albums/AlbumFile.h"
#include "labels/LabelTemplates.h"
#include "support/TestPictures.h"
#include "krn/ltkrn.h"
#include "library/PhotoListModel.h"
#include "library/PhotoNames.h"
#include "library/PhotoStore.h"

namespace {
// The shipped pictures of the build, seen from the test's own program folder.
void LinkShippedContent(const QString& programFolder) {
  const QDir built(QString::fromUtf8(BRIVANE_PROGRAM_DIR));
  for (const QString& name : built.entryList(QDir::AllEntries | QDir::NoDotAndDotDot)) {
    if (name != "myphotos") QFile::link(built.filePath(name), programFolder + "/" + name);
  }
}

ImageBitmap Landscape(int seed) {
  QImage image(640, 480, QImage::Format_RGB32);
  QPainter painter(&image);
  QLinearGradient sky(0, 0, 0, 300);
  sky.setColorAt(0, QColor::fromHsv((seed * 47) % 360, 120, 240));
  sky.setColorAt(1, QColor::fromHsv((seed * 47 + 30) % 360, 60, 255));
  painter.fillRect(image.rect(), sky);
  painter.setBrush(QColor::fromHsv((seed * 31 + 90) % 360, 150, 150));
  painter.setPen(Qt::NoPen);
  painter.drawEllipse(QPoint(160 + seed * 40 % 320, 520), 420, 260);
  painter.end();
  ImageBitmap bmp;
  SetBitmapImage(bmp, image);
  return bmp;
}
}  // namespace

// Pictures of every tab for people to look at, kept in the build's screenshots folder.
TEST_F(MainWindowFixture, ScreenshotsOfEveryTab) {
  const QString folder = QString::fromUtf8(BRIVANE_SCREENSHOT_DIR);
  ASSERT_TRUE(QDir().mkpath(folder));
  LinkShippedContent(programFolder.path());

  PhotoStore store(programFolder.path() + "/myphotos/");
  store.EnsureFolder();
  const QStringList names = {"Beach Day", "Birthday", "Garden", "Lake Trip", "Snow & Ice",
                             "Sunset"};
  for (int i = 0; i < names.size(); ++i) {
    ImageBitmap bmp = Landscape(i);
    ASSERT_EQ(store.StorePhoto(bmp, names[i], QString("%1, a day to remember").arg(names[i])),
              SUCCESS);
  }

  // An album of two pages to look at.
  const LabelTemplateList templates = LoadLabelTemplates(programFolder.path() + "/labels.dat");
  PhotoAlbum album;
  album.Name = "Summer 2026";
  for (const char* code : {"C2166", "C2244"}) {
    AlbumPage page = AlbumPage::Blank(templates.FindTemplateByCode(code));
    for (int k = 0; k < page.PlaceCount(); ++k) page.SetName(k, StemForName(names[(k + 1) % names.size()]));
    album.Pages.push_back(page);
  }
  ASSERT_TRUE(SaveAlbums(programFolder.path() + "/photos.dat", {album}));

  auto window = makeWindow();
  window->resize(1000, 680);
  window->show();
  QElapsedTimer waited;
  waited.start();
  while (window->myPhotos().photoModel().count() < names.size() && waited.elapsed() < 5000)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  EXPECT_EQ(window->myPhotos().photoModel().count(), names.size());

  // A sheet with photos on it, one label selected.
  for (const QString& name : names) window->printLabels().placePhoto(StemForName(name), false);
  window->printLabels().placePhoto("Garden", true);

  const QStringList files = {"main-my-photos", "main-photo-albums", "main-print-labels",
                             "main-publish", "main-fun"};
  for (int tab = 0; tab < kMainTabCount; ++tab) {
    window->setCurrentTab(MainTab(tab));
    QCoreApplication::processEvents();
    WaitFor([&window] { return !window->photoAlbums().isLoading(); });
    const QImage shot = window->grab().toImage();
    EXPECT_EQ(shot.size(), QSize(1000, 680));
    EXPECT_TRUE(shot.save(folder + "/" + files[tab] + ".png"));
  }
  window->close();
}
