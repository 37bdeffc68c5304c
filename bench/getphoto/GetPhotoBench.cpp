// Prints, for a large JPEG chosen in the file browser: the time to its preview and to its
// full picture, and the longest the interface thread was kept from its events meanwhile;
// then the time to scan a page from SANE's test device and store it as a photo.
//
//   bench_get_photo FOLDER FILE-IN-FOLDER
#include <cstdio>

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>

#include "getphoto/CFileBrowserList.h"
#include "getphoto/CGetPhotoWizard.h"
#include "getphoto/CPickFilePage.h"
#include "getphoto/PhotoScanner.h"
#include "library/PreviewDecoder.h"
#include "getphoto/ScanRunner.h"
#include "krn/ltkrn.h"
#include "library/PhotoStore.h"
#include "library/Settings.h"
#include "support/ScriptedPrompter.h"
#include "support/TestFeatureHost.h"
#include "twn/lttwn.h"

namespace {

// Watches the event loop: the longest gap between two ticks of a 1 ms timer.
class BlockWatch {
 public:
  BlockWatch() {
    m_timer.setInterval(1);
    QObject::connect(&m_timer, &QTimer::timeout, [this] {
      const qint64 now = m_clock.nsecsElapsed();
      if (m_last >= 0 && now - m_last > m_longest) m_longest = now - m_last;
      m_last = now;
    });
  }
  void start() {
    m_longest = 0;
    m_last = -1;
    m_clock.start();
    m_timer.start();
  }
  double stopMs() {
    m_timer.stop();
    return m_longest / 1e6;
  }

 private:
  QTimer m_timer;
  QElapsedTimer m_clock;
  qint64 m_last = -1;
  qint64 m_longest = 0;
};

template <typename Condition>
void Spin(Condition done) {
  while (!done()) QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 5);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: bench_get_photo FOLDER FILE\n");
    return 0;
  }
  qputenv("SANE_CONFIG_DIR", BRIVANE_SANE_CONFIG_DIR);
  QApplication app(argc, argv);
  QTemporaryDir home;
  PhotoStore store(home.filePath("My Photos") + "/");
  store.EnsureFolder();
  Settings settings(home.filePath("quendal.ini"));
  settings.setLastFolderRead(QString::fromLocal8Bit(argv[1]));
  ScriptedPrompter prompter;
  TestFeatureHost host(store, settings, prompter, home.filePath("registry.ini"));
  ImageBitmap& working = host.working;
  TwainPhotoScanner scanner;

  {
    CGetPhotoWizard wizard(host, nullptr);
    wizard.setActivePage(wizard.pickPage());
    wizard.show();
    CPickFilePage* page = wizard.pickPage();
    const int row = page->fileList()->rowOf(QString::fromLocal8Bit(argv[2]));
    if (row < 0) {
      std::printf("bench_get_photo: %s is not listed in %s\n", argv[2], argv[1]);
      return 0;
    }
    for (int round = 0; round < 3; ++round) {
      page->fileList()->setCurrentRow(-1);
      page->checkSelection();
      QCoreApplication::processEvents();
      BlockWatch watch;
      QElapsedTimer clock;
      double previewMs = -1, fullMs = -1;
      QObject::connect(&page->decoder(), &PreviewDecoder::previewReady, &wizard,
                       [&] { if (previewMs < 0) previewMs = clock.nsecsElapsed() / 1e6; });
      watch.start();
      clock.start();
      page->fileList()->setCurrentRow(row);
      QElapsedTimer call;
      call.start();
      page->checkSelection();
      const double callMs = call.nsecsElapsed() / 1e6;
      Spin([&] { return page->decoder().isDone(); });
      fullMs = clock.nsecsElapsed() / 1e6;
      const double blockedMs = watch.stopMs();
      QObject::disconnect(&page->decoder(), nullptr, &wizard, nullptr);
      std::printf("preview round %d: preview_ms %.1f full_ms %.1f select_call_ms %.2f longest_block_ms %.1f\n",
                  round + 1, previewMs, fullMs, callMs, blockedMs);
    }
  }

  // A scanned page: the test device's default grey page, then a colour A4-sized page.
  if (!scanner.isAvailable() || scanner.select("test:0") != SUCCESS) {
    std::printf("scan: SANE's test device is not available\n");
    return 0;
  }
  struct Page {
    const char* name;
    int flags;
    QVariantMap values;
  };
  const Page pages[] = {
      {"default grey 157x196", TWAIN_QUICK_SCAN, {}},
      {"colour 200x200 mm at 300 dpi", TWAIN_WITH_OPTIONS,
       {{"mode", QString("Color")}, {"resolution", 300.0}, {"tl-x", 0.0}, {"tl-y", 0.0},
        {"br-x", 200.0}, {"br-y", 200.0}}},
  };
  for (const Page& scan : pages) {
    QElapsedTimer clock;
    clock.start();
    BlockWatch watch;
    watch.start();
    const ScanOptionsCallback options = [&](const QList<ScanOption>&, QVariantMap& chosen) {
      chosen = scan.values;
      return true;
    };
    const int result = ScanRunner::Run(host.runner, scanner, working, scan.flags, options);
    const double scanMs = clock.nsecsElapsed() / 1e6;
    const int width = working.Width, height = working.Height;
    const int stored = store.StorePhoto(working, QString("Scan %1").arg(scan.flags), QString());
    const double totalMs = clock.nsecsElapsed() / 1e6;
    std::printf("scan %s: %dx%d result %d stored %d scan_ms %.1f store_ms %.1f total_ms %.1f longest_block_ms %.1f\n",
                scan.name, width, height, result, stored, scanMs, totalMs - scanMs, totalMs,
                watch.stopMs());
  }
  // Back to the device's defaults for whoever uses it next.
  SetScanOptionsCallback({});
  return 0;
}
