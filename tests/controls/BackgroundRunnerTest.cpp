#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

#include <QDeadlineTimer>
#include <QProgressDialog>
#include <QSignalSpy>
#include <QTimer>
#include <QWidget>

#include "ControlsTestApp.h"
#include "controls/BackgroundRunner.h"
#include "krn/ltkrn.h"

namespace {

class BackgroundRunnerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!ControlsTestApp()) GTEST_SKIP() << "a non-widget application exists";
    window = std::make_unique<QWidget>();
    runner = std::make_unique<BackgroundRunner>(window.get());
  }
  void TearDown() override {
    runner.reset();
    window.reset();
  }
  std::unique_ptr<QWidget> window;
  std::unique_ptr<BackgroundRunner> runner;
};

// Runs until asked to stop through the imaging library's own progress callback, as the
// library's long loops do; returns how many steps it made.
int ImagingLoopUntilStopped() {
  int steps = 0;
  while (ReportProgress(steps % 100) && steps < 1000000) {
    ++steps;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return steps;
}

TEST_F(BackgroundRunnerTest, RunReturnsTheResultWhileTheInterfaceKeepsHandlingEvents) {
  const std::thread::id interfaceThread = std::this_thread::get_id();
  int ticks = 0;
  QTimer ticker;
  QObject::connect(&ticker, &QTimer::timeout, [&ticks] { ++ticks; });
  ticker.start(5);
  BackgroundTask task;
  task.text = "Working...";
  std::thread::id workerThread;
  const QString result = runner->run(task, [&](BackgroundJob&) {
    workerThread = std::this_thread::get_id();
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    return QStringLiteral("done");
  });
  EXPECT_EQ(result, "done");
  EXPECT_NE(workerThread, interfaceThread);
  EXPECT_GT(ticks, 3);
  EXPECT_EQ(runner->runningCount(), 0);

  // Work without a result runs the same way.
  bool ran = false;
  runner->run(task, [&ran](BackgroundJob&) { ran = true; });
  EXPECT_TRUE(ran);
}

TEST_F(BackgroundRunnerTest, CancelStopsTheImagingLibrarysLoopsAndTheWorkSeesIt) {
  BackgroundTask task;
  task.text = "Working...";
  task.maximum = 100;
  task.cancellable = true;
  task.showAfterMs = 0;
  task.objectName = "box";
  // Cancels once the library's percentages have reached the box, however busy the machine.
  QTimer poll;
  QDeadlineTimer patience(10000);
  bool sawProgress = false;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    QProgressDialog* box = runner->progressBox();
    if (!box) return;
    EXPECT_EQ(box->objectName(), "box");
    EXPECT_TRUE(box->isVisible());
    sawProgress = box->value() > 0;
    if (sawProgress || patience.hasExpired()) {
      poll.stop();
      emit box->canceled();
    }
  });
  poll.start(10);
  bool sawStop = false;
  const int steps = runner->run(task, [&sawStop](BackgroundJob& job) {
    const int made = ImagingLoopUntilStopped();
    sawStop = job.stopRequested();
    return made;
  });
  EXPECT_TRUE(sawProgress);
  EXPECT_TRUE(sawStop);
  EXPECT_LT(steps, 1000000);
  // The callback belonged to the worker: this thread reports to nobody.
  EXPECT_TRUE(ReportProgress(50));
  QCoreApplication::processEvents();
  EXPECT_EQ(runner->progressBox(), nullptr);
}

TEST_F(BackgroundRunnerTest, StartedWorkHandsEachResultToTheInterfaceThread) {
  const std::thread::id interfaceThread = std::this_thread::get_id();
  BackgroundTask task;
  task.maximum = 3;
  task.modal = false;
  task.showAfterMs = -1;  // at the first report
  QList<int> results;
  std::thread::id doneThread;
  for (int i = 1; i <= 2; ++i)
    runner->start(
        task,
        [i](BackgroundJob& job) {
          job.reportProgress(1);
          std::this_thread::sleep_for(std::chrono::milliseconds(20 * i));
          return i * 10;
        },
        [&](int result) {
          results.append(result);
          doneThread = std::this_thread::get_id();
        });
  EXPECT_EQ(runner->runningCount(), 2);
  QSignalSpy finished(runner.get(), &BackgroundRunner::jobFinished);
  while (finished.size() < 2) ASSERT_TRUE(finished.wait(5000));
  std::sort(results.begin(), results.end());
  EXPECT_EQ(results, QList<int>({10, 20}));
  EXPECT_EQ(doneThread, interfaceThread);
}

TEST_F(BackgroundRunnerTest, WorkAsksTheInterfaceThreadAndGoingAwayNeverHangs) {
  BackgroundTask task;
  const std::thread::id interfaceThread = std::this_thread::get_id();
  std::thread::id askedOn;
  const bool answered = runner->run(task, [&](BackgroundJob& job) {
    return job.callOnInterface([&] { askedOn = std::this_thread::get_id(); });
  });
  EXPECT_TRUE(answered);
  EXPECT_EQ(askedOn, interfaceThread);

  // The progress box keeps out of the way of what the work shows, also when it falls due
  // meanwhile, and comes back for the rest of the work.
  task.showAfterMs = 20;
  task.cancellable = true;
  std::atomic<bool> goOn = false;
  bool hiddenWhileAsked = false;
  runner->start(
      task,
      [&](BackgroundJob& job) {
        job.callOnInterface([&] {
          QDeadlineTimer due(100);
          while (!due.hasExpired()) QCoreApplication::processEvents();
          hiddenWhileAsked = !runner->progressBox()->isVisible();
        });
        while (!goOn && !job.stopRequested()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return 0;
      },
      [](int) {});
  QDeadlineTimer shown(5000);
  while (!hiddenWhileAsked && !shown.hasExpired()) QCoreApplication::processEvents();
  while (!(runner->progressBox() && runner->progressBox()->isVisible()) && !shown.hasExpired())
    QCoreApplication::processEvents();
  EXPECT_TRUE(hiddenWhileAsked);
  EXPECT_TRUE(runner->progressBox() && runner->progressBox()->isVisible());
  goOn = true;
  QSignalSpy ended(runner.get(), &BackgroundRunner::jobFinished);
  ASSERT_TRUE(ended.wait(5000));
  task.showAfterMs = 500;
  task.cancellable = false;

  // A runner destroyed while work runs (and waits for the interface) stops it, waits for
  // its worker and never delivers the result.
  std::atomic<bool> stopped = false;
  bool delivered = false;
  runner->start(
      task,
      [&stopped](BackgroundJob& job) {
        const bool asked = job.callOnInterface([] {});
        while (!job.stopRequested()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        stopped = true;
        return asked;
      },
      [&delivered](bool) { delivered = true; });
  runner.reset();
  EXPECT_TRUE(stopped);
  QCoreApplication::processEvents();
  EXPECT_FALSE(delivered);
}

}  // namespace
