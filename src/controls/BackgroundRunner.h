#pragma once

#include <functional>
#include <list>
#include <memory>
#include <optional>
#include <type_traits>

#include <QObject>
#include <QPointer>
#include <QString>

#include "controls/BackgroundJob.h"

class QProgressDialog;
class QWidget;

// How a piece of background work shows itself.
struct BackgroundTask {
  QString text;                // the progress box's text
  int maximum = 0;             // 0: a busy box without a value; 100: the imaging library's percentages
  bool cancellable = false;    // the box offers Cancel, which asks the work to stop
  bool modal = true;           // the box blocks the window (the window still repaints)
  int showAfterMs = 500;       // the box appears after this; -1: at the first progress report
  bool progressBox = true;     // false: only the wait cursor, for work known to be short
  bool waitCursor = true;      // the wait cursor while the work runs
  QString objectName;          // the box's, so tests can find it
  // Also told each progress value, on the interface thread: for a window that shows the
  // progress in a bar of its own (with progressBox false).
  std::function<void(int)> progress;
};

// The one way the program runs slow work off the interface thread: each piece of work
// runs on a worker thread of its own; progress and Cancel go through a progress box on
// the interface thread; the imaging library's progress callback reports to the box and
// stops the library's loops on Cancel; results arrive on the interface thread.
// Destroying the runner stops every job and waits for its worker, never for its result.
class BackgroundRunner : public QObject {
  Q_OBJECT

 public:
  explicit BackgroundRunner(QWidget* window, QObject* parent = nullptr);
  ~BackgroundRunner() override;

  // Runs the work and returns its result; the interface keeps handling events meanwhile.
  template <class Work>
  auto run(const BackgroundTask& task, Work work) -> std::invoke_result_t<Work, BackgroundJob&> {
    using Result = std::invoke_result_t<Work, BackgroundJob&>;
    if constexpr (std::is_void_v<Result>) {
      runAndWait(task, std::move(work));
    } else {
      auto result = std::make_shared<std::optional<Result>>();
      runAndWait(task, [&work, result](BackgroundJob& job) { result->emplace(work(job)); });
      return result->has_value() ? std::move(**result) : Result();
    }
  }

  // Asks one job to stop; safe after the job has ended.
  using StopJob = std::function<void()>;

  // Starts the work and returns at once; done(result) runs on the interface thread when
  // the work has ended, unless the runner is destroyed first.
  template <class Work, class Done>
  StopJob start(const BackgroundTask& task, Work work, Done done) {
    using Result = std::invoke_result_t<Work, BackgroundJob&>;
    auto result = std::make_shared<std::optional<Result>>();
    return startJob(task, [work = std::move(work), result](BackgroundJob& job) { result->emplace(work(job)); },
             [done = std::move(done), result]() mutable {
               done(result->has_value() ? std::move(**result) : Result());
             });
  }

  // Asks every running job to stop; their ends still arrive.
  void stopAll();
  int runningCount() const { return int(m_jobs.size()); }
  // The progress box of the newest job that has one, or null.
  QProgressDialog* progressBox() const;

 signals:
  // A job has ended and its result has been handed over.
  void jobFinished();

 private:
  friend class BackgroundJob;
  struct Job;

  void runAndWait(const BackgroundTask& task, std::function<void(BackgroundJob&)> work);
  StopJob startJob(const BackgroundTask& task, std::function<void(BackgroundJob&)> work,
                   std::function<void()> done);
  void finish(Job* job);
  // The progress box of the job with that state, or null.
  QProgressDialog* boxOf(const BackgroundJob::State* state) const;
  void showProgress(Job* job, int value);

  QPointer<QWidget> m_window;
  std::list<std::unique_ptr<Job>> m_jobs;
};
