// quendal's start-up over a large My Photos folder, timed from the inside: the program's
// own start steps (those of its main), then the moments the My Photos list shows its first
// entry, holds the whole folder and is painted full, then an idle period with nothing
// changing. Program folder and settings come from the environment, as for quendal.
//   bench_photo_list_start EXPECTED_PHOTOS IDLE_SECONDS
// Prints "key value" lines; times are wall-clock seconds since the epoch (the caller
// subtracts its own start time), so that loading the program counts too.
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

#include <QAbstractItemView>
#include <QApplication>
#include <QEvent>
#include <QTimer>

#include "BenchSupport.h"
#include "app/CMainApp.h"
#include "controls/CPictureListBox.h"
#include "mainwindow/CMainDialog.h"
#include "myphotos/CMyPhotosPage.h"

namespace {
double Now() {
  timespec now{};
  ::clock_gettime(CLOCK_REALTIME, &now);
  return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

double CpuSeconds() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Notes the first paint of the list once it holds the whole folder.
class PaintWatch : public QObject {
 public:
  bool armed = false;
  double paintedFull = 0;

 protected:
  bool eventFilter(QObject* object, QEvent* event) override {
    if (armed && paintedFull == 0 && event->type() == QEvent::Paint) paintedFull = Now();
    return QObject::eventFilter(object, event);
  }
};
}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: bench_photo_list_start EXPECTED_PHOTOS IDLE_SECONDS\n");
    return 2;
  }
  const int expected = std::atoi(argv[1]);
  const int idleSeconds = std::atoi(argv[2]);
  const double mainStarted = Now();
  QApplication application(argc, argv);
  CMainApp app;
  app.initInstance();

  double firstEntry = 0, filled = 0, idleStart = 0, idleCpu = 0;
  long peakAtFilled = 0, rssIdleStart = 0, rssIdleMax = 0;
  PaintWatch paints;
  CMainDialog* window = nullptr;

  QTimer idleSampler;
  const auto finish = [&] {
    idleSampler.stop();
    const double cpu = CpuSeconds() - idleCpu;
    const double wall = Now() - idleStart;
    const long rssEnd = StatusKb("VmRSS:");
    std::printf("main_started %.6f\n", mainStarted);
    std::printf("first_entry %.6f\n", firstEntry);
    std::printf("list_filled %.6f\n", filled);
    std::printf("list_painted_full %.6f\n", paints.paintedFull);
    std::printf("entries %d\n", window ? window->myPhotos().photoList()->model()->rowCount() : 0);
    std::printf("peak_rss_kb_at_filled %ld\n", peakAtFilled);
    std::printf("idle_seconds %.1f\n", wall);
    std::printf("idle_cpu_ms %.1f\n", cpu * 1000);
    std::printf("idle_rss_start_kb %ld\n", rssIdleStart);
    std::printf("idle_rss_end_kb %ld\n", rssEnd);
    std::printf("idle_rss_max_kb %ld\n", std::max(rssIdleMax, rssEnd));
    std::printf("peak_rss_kb %ld\n", StatusKb("VmHWM:"));
    std::fflush(stdout);
    window->close();
    // Closing asks nothing; should it ever, the figures are out already.
    QTimer::singleShot(10000, [] { std::_Exit(0); });
  };
  const auto startIdle = [&] {
    idleStart = Now();
    idleCpu = CpuSeconds();
    rssIdleStart = rssIdleMax = StatusKb("VmRSS:");
    QObject::connect(&idleSampler, &QTimer::timeout,
                     [&] { rssIdleMax = std::max(rssIdleMax, StatusKb("VmRSS:")); });
    idleSampler.start(5000);
    QTimer::singleShot(idleSeconds * 1000, finish);
  };

  // The window exists once run() has made it; look for it from its event loop on.
  QTimer finder;
  QObject::connect(&finder, &QTimer::timeout, [&] {
    if (!window) {
      for (QWidget* top : QApplication::topLevelWidgets())
        if ((window = qobject_cast<CMainDialog*>(top))) break;
      if (!window) return;
      QAbstractItemView* list = window->myPhotos().photoList();
      list->viewport()->installEventFilter(&paints);
      const auto onFilled = [&, list] {
        if (filled != 0) return;
        filled = Now();
        peakAtFilled = StatusKb("VmHWM:");
        paints.armed = true;
        list->viewport()->update();
        if (list->model()->rowCount() != expected)
          std::fprintf(stderr, "the list holds %d entries, not %d\n", list->model()->rowCount(),
                       expected);
        // A second to paint and settle, then nothing happens.
        QTimer::singleShot(1000, startIdle);
      };
      QObject::connect(&window->myPhotos(), &CMyPhotosPage::photoListFilled, onFilled);
      // A list filled before the window was found (a small folder) is filled now.
      if (expected > 0 && list->model()->rowCount() == expected) onFilled();
    }
    if (firstEntry == 0 && window->myPhotos().photoList()->model()->rowCount() > 0)
      firstEntry = Now();
    if (firstEntry != 0) finder.stop();
  });
  finder.start(1);
  QTimer::singleShot(600000, [] {
    std::fprintf(stderr, "the list was not filled within 10 minutes\n");
    std::_Exit(1);
  });
  return app.run();
}
