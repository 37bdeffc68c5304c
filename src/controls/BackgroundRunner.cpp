#include "controls/BackgroundRunner.h"

#include <algorithm>
#include <chrono>
#include <limits>
#include <condition_variable>
#include <mutex>
#include <thread>

#include <QApplication>
#include <QEventLoop>
#include <QMetaObject>
#include <QProgressDialog>
#include <QTimer>

#include "krn/ltkrn.h"

struct BackgroundJob::State {
  std::atomic<bool> stop{false};
  std::atomic<int> lastReported{-1};
  int maximum = 0;
  // Interface thread only: a window the work asked for is open, so the progress box
  // keeps out of its way; the box became due meanwhile and shows after it.
  int windowsOpen = 0;
  bool boxDue = false;
};

struct BackgroundRunner::Job {
  std::shared_ptr<BackgroundJob::State> state = std::make_shared<BackgroundJob::State>();
  BackgroundTask task;
  std::thread worker;
  QPointer<QProgressDialog> box;
  std::function<void()> done;
  bool cursorSet = false;
};

BackgroundJob::BackgroundJob(BackgroundRunner* runner, std::shared_ptr<State> state)
    : m_runner(runner), m_state(std::move(state)) {}

bool BackgroundJob::stopRequested() const { return m_state->stop; }

void BackgroundJob::reportProgress(int value) {
  if (m_state->lastReported.exchange(value) == value) return;
  // The runner outlives every worker, so posting to it is safe; the job is looked up
  // again on arrival, as it may have ended meanwhile.
  std::weak_ptr<State> state = m_state;
  BackgroundRunner* runner = m_runner;
  QMetaObject::invokeMethod(
      runner,
      [runner, state, value] {
        const auto alive = state.lock();
        if (!alive) return;
        for (const auto& job : runner->m_jobs)
          if (job->state == alive) runner->showProgress(job.get(), value);
      },
      Qt::QueuedConnection);
}

bool BackgroundJob::callOnInterface(std::function<void()> fn) {
  struct Call {
    std::mutex mutex;
    std::condition_variable ended;
    bool finished = false;
  };
  auto call = std::make_shared<Call>();
  std::weak_ptr<State> weak = m_state;
  BackgroundRunner* runner = m_runner;
  QMetaObject::invokeMethod(
      m_runner,
      [call, fn = std::move(fn), weak, runner] {
        // The box would cover the question or message the work asks for.
        const auto state = weak.lock();
        QPointer<QProgressDialog> box = state ? runner->boxOf(state.get()) : nullptr;
        if (state) {
          ++state->windowsOpen;
          if (box && box->isVisible()) {
            state->boxDue = true;
            box->hide();
          }
        }
        fn();
        if (state && --state->windowsOpen == 0 && state->boxDue && box && !state->stop) box->show();
        std::lock_guard lock(call->mutex);
        call->finished = true;
        call->ended.notify_all();
      },
      Qt::QueuedConnection);
  // Waits in short steps: a runner that is going away asks the job to stop, and then
  // nothing on the interface thread will answer.
  std::unique_lock lock(call->mutex);
  while (!call->finished) {
    if (m_state->stop) return false;
    call->ended.wait_for(lock, std::chrono::milliseconds(50));
  }
  return true;
}

BackgroundRunner::BackgroundRunner(QWidget* window, QObject* parent) : QObject(parent), m_window(window) {}

BackgroundRunner::~BackgroundRunner() {
  stopAll();
  for (const auto& job : m_jobs) {
    if (job->worker.joinable()) job->worker.join();
    if (job->cursorSet) QApplication::restoreOverrideCursor();
    delete job->box;
  }
}

void BackgroundRunner::stopAll() {
  for (const auto& job : m_jobs) job->state->stop = true;
}

QProgressDialog* BackgroundRunner::boxOf(const BackgroundJob::State* state) const {
  for (const auto& job : m_jobs)
    if (job->state.get() == state) return job->box;
  return nullptr;
}

QProgressDialog* BackgroundRunner::progressBox() const {
  for (auto it = m_jobs.rbegin(); it != m_jobs.rend(); ++it)
    if ((*it)->box) return (*it)->box;
  return nullptr;
}

BackgroundRunner::StopJob BackgroundRunner::startJob(const BackgroundTask& task,
                                                     std::function<void(BackgroundJob&)> work,
                                                     std::function<void()> done) {
  auto owned = std::make_unique<Job>();
  Job* job = owned.get();
  job->task = task;
  job->state->maximum = task.maximum;
  job->done = std::move(done);
  m_jobs.push_back(std::move(owned));

  if (task.progressBox) {
    job->box = new QProgressDialog(task.text, task.cancellable ? tr("Cancel") : QString(), 0,
                                   task.maximum, m_window);
    job->box->setObjectName(task.objectName);
    job->box->setWindowTitle(QStringLiteral("Brivane"));
    job->box->setWindowModality(task.modal ? Qt::WindowModal : Qt::NonModal);
    job->box->setAutoClose(false);
    job->box->setAutoReset(false);
    // Shown by the runner, not by QProgressDialog's own guess from the first values.
    job->box->setMinimumDuration(std::numeric_limits<int>::max());
    job->box->setValue(0);
    job->box->hide();
    if (task.cancellable) {
      std::shared_ptr<BackgroundJob::State> state = job->state;
      QProgressDialog* box = job->box;
      connect(box, &QProgressDialog::canceled, box, [state, box] {
        state->stop = true;
        box->setLabelText(tr("Stopping..."));
      });
    }
    if (task.showAfterMs == 0) {
      job->box->show();
    } else if (task.showAfterMs > 0) {
      QTimer::singleShot(task.showAfterMs, job->box, [box = job->box, state = job->state] {
        if (state->windowsOpen > 0) state->boxDue = true;
        else box->show();
      });
    }
  }
  if (task.waitCursor) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    job->cursorSet = true;
  }

  job->worker = std::thread([this, job, state = job->state, work = std::move(work)] {
    // The imaging library reports to this job alone: its callback belongs to the thread.
    BackgroundJob handle(this, state);
    SetProgressCallback([&handle, state](int percent) {
      if (state->maximum == 100) handle.reportProgress(percent);
      return state->stop ? 0 : 1;
    });
    work(handle);
    SetProgressCallback({});
    QMetaObject::invokeMethod(this, [this, job] { finish(job); }, Qt::QueuedConnection);
  });
  return [state = std::weak_ptr<BackgroundJob::State>(job->state)] {
    if (const auto alive = state.lock()) alive->stop = true;
  };
}

void BackgroundRunner::showProgress(Job* job, int value) {
  if (job->task.progress) job->task.progress(value);
  if (!job->box) return;
  if (!job->box->isVisible() && job->task.showAfterMs < 0 && !job->box->wasCanceled() &&
      job->state->windowsOpen == 0)
    job->box->show();
  job->box->setValue(qBound(0, value, job->task.maximum));
}

void BackgroundRunner::finish(Job* job) {
  auto it = std::find_if(m_jobs.begin(), m_jobs.end(), [job](const auto& j) { return j.get() == job; });
  if (it == m_jobs.end()) return;
  std::unique_ptr<Job> ended = std::move(*it);
  m_jobs.erase(it);
  ended->worker.join();
  if (ended->cursorSet) QApplication::restoreOverrideCursor();
  if (ended->box) {
    ended->box->hide();
    ended->box->deleteLater();
  }
  if (ended->done) ended->done();
  emit jobFinished();
}

void BackgroundRunner::runAndWait(const BackgroundTask& task, std::function<void(BackgroundJob&)> work) {
  QEventLoop loop;
  bool ended = false;
  QPointer<BackgroundRunner> self(this);
  startJob(task, std::move(work), [&ended, &loop] {
    ended = true;
    loop.quit();
  });
  // A runner destroyed meanwhile has joined the worker already; its destruction ends the loop.
  connect(this, &QObject::destroyed, &loop, &QEventLoop::quit);
  if (!ended) loop.exec();
}
