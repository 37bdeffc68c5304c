// Album pages of 20 large photos: the time from a page switch until every picture is
// shown, with photos decoded whole and then shrunk, and decoded at libjpeg's reduced
// scale; and meanwhile the longest time the interface thread is kept from its events.
//   bench_album_page generate PROGRAM_FOLDER   stores 20 photos of 4000 x 3000 and an album
//   bench_album_page run PROGRAM_FOLDER        prints the figures as "key value" lines
#include <algorithm>
#include <cstdio>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>

#include "BenchSupport.h"
#include "albums/AlbumFile.h"
#include "labels/LabelTemplates.h"
#include "library/PhotoStore.h"
#include "library/Settings.h"
#include "photoalbums/CPhotoAlbumsPage.h"
#include "support/ScriptedPrompter.h"
#include "support/TabPageTesting.h"
#include "support/TestFeatureHost.h"

namespace {
constexpr int kPhotos = 20;
constexpr const char* kLayout = "C2352";  // 4 x 5 places

QString Stem(int i) { return QStringLiteral("photo %1").arg(i, 2, 10, QChar('0')); }

int Generate(const QString& programFolder) {
  PhotoStore store(programFolder + "myphotos/");
  if (!store.EnsureFolder()) return 1;
  for (int i = 0; i < kPhotos; ++i) {
    ImageBitmap photo = PhotoLikePicture(4000, 3000, i);
    if (store.StorePhoto(photo, Stem(i), QString()) != SUCCESS) return 1;
  }
  const LabelTemplateList templates = LoadLabelTemplates(programFolder + "labels.dat");
  const LabelTemplate* layout = templates.FindTemplateByCode(kLayout);
  if (!layout) return 1;
  PhotoAlbum album;
  album.Name = "Large photos";
  for (int p = 0; p < 2; ++p) {
    AlbumPage page = AlbumPage::Blank(layout);
    for (int k = 0; k < kPhotos; ++k) page.SetName(k, Stem(p == 0 ? k : kPhotos - 1 - k));
    album.Pages.push_back(page);
  }
  return SaveAlbums(programFolder + kAlbumFileName, {album}) ? 0 : 1;
}

struct Switch {
  double shownMs = 0;
  double longestStallMs = 0;
};

// Switches to the page and waits until every picture is in, timing the interface
// thread's longest gap between two turns of its event loop meanwhile.
Switch SwitchTo(CPhotoAlbumsPage& page, int target) {
  QElapsedTimer clock;
  double last = 0, longest = 0;
  QTimer tick;
  tick.setInterval(0);
  QObject::connect(&tick, &QTimer::timeout, [&] {
    const double now = clock.nsecsElapsed() / 1e6;
    longest = std::max(longest, now - last);
    last = now;
  });
  bool shownAll = false;
  const auto connection = QObject::connect(&page, &CPhotoAlbumsPage::pageShown, [&] { shownAll = true; });
  clock.start();
  tick.start();
  page.selectPage(target);
  while (!shownAll) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
  const double shown = clock.nsecsElapsed() / 1e6;
  tick.stop();
  QObject::disconnect(connection);
  // Nothing of this page may still run into the next measurement.
  while (page.isLoading()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
  // The switch itself ran before the first tick.
  return {shown, std::max(longest, last == 0 ? shown : longest)};
}

int Run(const QString& programFolder) {
  qputenv("BRIVANE_PROGRAM_FOLDER", QFile::encodeName(programFolder));
  LabelTemplateList templates = LoadLabelTemplates(programFolder + "labels.dat");
  PhotoStore store(programFolder + "myphotos/");
  Settings settings(programFolder + "quendal.ini");
  ScriptedPrompter prompter;
  TestFeatureHost host(store, settings, prompter, programFolder + "registry.ini");
  QWidget content;
  content.resize(1000, 700);
  CPhotoAlbumsPage page(host, templates, &content, nullptr);
  ShowTabPage(page, content);
  while (page.isLoading()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);

  for (const auto& [name, decode] : {std::pair{"full", ReducedDecode::Full}, std::pair{"scaled", ReducedDecode::Scaled}}) {
    page.setPictureDecoding(decode);
    Switch best{1e9, 1e9};
    double stall = 0;
    for (int round = 0; round < 3; ++round) {
      const Switch s = SwitchTo(page, (page.currentPage() + 1) % 2);
      best.shownMs = std::min(best.shownMs, s.shownMs);
      stall = std::max(stall, s.longestStallMs);
    }
    std::printf("%s_shown_ms %.0f\n", name, best.shownMs);
    std::printf("%s_longest_stall_ms %.1f\n", name, stall);
  }
  // A switch away while a page still loads: the next page does not wait for it.
  page.setPictureDecoding(ReducedDecode::Full);
  page.selectPage((page.currentPage() + 1) % 2);
  QCoreApplication::processEvents();
  page.setPictureDecoding(ReducedDecode::Scaled);
  const Switch interrupted = SwitchTo(page, (page.currentPage() + 1) % 2);
  std::printf("interrupted_switch_shown_ms %.0f\n", interrupted.shownMs);
  std::printf("places %d\n", page.cells().Count());
  return 0;
}
}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const QStringList args = app.arguments();
  if (args.size() != 3) {
    std::fprintf(stderr, "usage: %s generate|run PROGRAM_FOLDER\n", argv[0]);
    return 2;
  }
  const QString folder = args[2].endsWith('/') ? args[2] : args[2] + '/';
  if (args[1] == "generate") return Generate(folder);
  if (args[1] == "run") return Run(folder);
  return 2;
}
