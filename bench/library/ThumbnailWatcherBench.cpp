// Start-up of the photo list: a ThumbnailWatcher over a My Photos folder of N photos.
//   bench_thumbnail_watcher generate FOLDER N   makes N photos of 1600 x 1200 (once)
//   bench_thumbnail_watcher run FOLDER          prints the figures as "key value" lines
#include <sys/stat.h>
#include <utime.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>

#include "BenchSupport.h"
#include "krn/ltkrn.h"
#include "library/PhotoListModel.h"
#include "library/PhotoListUpdater.h"
#include "library/PhotoStore.h"
#include "library/ThumbnailWatcher.h"

namespace {
using namespace std::chrono_literals;
constexpr qint64 kBaseTime = 1600000000;

int Generate(const QString& folder, int count) {
  PhotoStore store(folder);
  if (!store.EnsureFolder()) return 1;
  for (int i = 0; i < count; ++i) {
    const QString stem = QStringLiteral("photo %1").arg(i, 4, 10, QChar('0'));
    if (!store.Contains(stem)) {
      ImageBitmap working = PhotoLikePicture(1600, 1200, i);
      if (store.StorePhoto(working, stem, QStringLiteral("A photo for the benchmark")) != SUCCESS)
        return 1;
    }
    // Distinct, fixed times so the list order is the same on every run.
    struct utimbuf times{time_t(kBaseTime + i), time_t(kBaseTime + i)};
    ::utime(QFile::encodeName(store.ThumbnailPath(stem)).constData(), &times);
    if (i % 100 == 99) std::fprintf(stderr, "generated %d of %d photos\n", i + 1, count);
  }
  return 0;
}

template <typename Condition>
bool Spin(Condition condition, std::chrono::seconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > end) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    std::this_thread::sleep_for(200us);
  }
  return true;
}

int Run(const QString& folder) {
  SemaphoreRegistry semaphores;
  auto stopSignal = semaphores.create(ThumbnailWatcher::kStopSemaphoreName, 0, 1);
  std::atomic<int> decodes{0};

  // Start-up, as the main window does it (inotify, first scan at once).
  const long rssBefore = StatusKb("VmRSS:");
  PhotoListModel model;
  ThumbnailWatcher::Options options;
  options.Decoder = [&](const QString& file, ImageBitmap& bmp, QString& description) {
    ++decodes;
    return DecodeThumbnail(file, bmp, description);
  };
  auto watcher = std::make_unique<ThumbnailWatcher>(folder, semaphores, &model, options);
  bool full = false;
  QObject::connect(&watcher->updater(), &PhotoListUpdater::firstScanDone, [&] { full = true; });
  std::chrono::steady_clock::duration toFirst{}, toScreen{}, toFull{};
  const auto started = std::chrono::steady_clock::now();
  QObject::connect(&model, &QAbstractItemModel::rowsInserted, [&] {
    const auto now = std::chrono::steady_clock::now() - started;
    if (toFirst == decltype(toFirst){}) toFirst = now;
    if (toScreen == decltype(toScreen){} && model.count() >= 20) toScreen = now;
  });
  watcher->start();
  if (!Spin([&] { return full; }, 120s)) {
    std::fprintf(stderr, "the first scan did not finish\n");
    return 1;
  }
  toFull = std::chrono::steady_clock::now() - started;
  const long rssAfter = StatusKb("VmRSS:");
  qint64 pixelBytes = 0;
  for (int row = 0; row < model.count(); ++row)
    pixelBytes += model.item(row)->Thumbnail.Pixels.sizeInBytes();

  std::printf("entries %d\n", model.count());
  std::printf("decodes %d\n", decodes.load());
  std::printf("first_entry_ms %.1f\n", Ms(toFirst));
  std::printf("first_20_entries_ms %.1f\n", Ms(toScreen));
  std::printf("full_list_ms %.1f\n", Ms(toFull));
  std::printf("rss_growth_kb %ld\n", rssAfter - rssBefore);
  std::printf("thumbnail_pixels_kb %lld\n", pixelBytes / 1024);
  QElapsedTimer stopTimer;
  stopTimer.start();
  watcher.reset();
  std::printf("stop_ms %lld\n", stopTimer.elapsed());

  // Idle scans: the periodic listing over the unchanged folder, nothing to decode.
  std::mutex mutex;
  std::vector<double> idle;
  PhotoListModel idleModel;
  options.WatchMode = FolderWatch::Mode::Poll;
  options.PollInterval = 60ms;
  options.ScanFinished = [&](const ThumbnailWatcher::ScanStats& stats) {
    std::lock_guard lock(mutex);
    if (stats.Decoded == 0) idle.push_back(Ms(stats.Duration));
  };
  const int decodedBefore = decodes;
  auto poller = std::make_unique<ThumbnailWatcher>(folder, semaphores, &idleModel, options);
  poller->start();
  Spin([&] { std::lock_guard lock(mutex); return idle.size() >= 15; }, 30s);
  poller.reset();
  std::sort(idle.begin(), idle.end());
  std::printf("idle_scan_median_ms %.3f\n", idle.empty() ? 0.0 : idle[idle.size() / 2]);
  std::printf("idle_scan_min_ms %.3f\n", idle.empty() ? 0.0 : idle.front());
  // The poller's own first scan decodes every thumbnail once; the idle ones decode none.
  std::printf("idle_scans %zu\n", idle.size());
  std::printf("idle_scan_decodes %d\n", decodes - decodedBefore - idleModel.count());
  return 0;
}
}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const QStringList args = app.arguments();
  if (args.size() == 4 && args[1] == "generate")
    return Generate(args[2].endsWith('/') ? args[2] : args[2] + '/', args[3].toInt());
  if (args.size() == 3 && args[1] == "run") return Run(args[2].endsWith('/') ? args[2] : args[2] + '/');
  std::fprintf(stderr, "usage: %s generate FOLDER COUNT | run FOLDER\n", argv[0]);
  return 2;
}
