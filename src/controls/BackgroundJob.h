#pragma once

#include <atomic>
#include <functional>
#include <memory>

class BackgroundRunner;

// What a piece of work on the background runner sees: whether it is asked to stop, and
// ways to reach the interface thread. Every call is safe from the worker thread.
class BackgroundJob {
 public:
  bool stopRequested() const;
  // Moves the progress box to value (of the task's maximum); repeated values post nothing.
  void reportProgress(int value);
  // Runs fn on the interface thread and waits for it (a dialog that a device asks for
  // midway). False when the job was asked to stop before fn could finish.
  bool callOnInterface(std::function<void()> fn);

  struct State;

 private:
  friend class BackgroundRunner;
  BackgroundJob(BackgroundRunner* runner, std::shared_ptr<State> state);

  BackgroundRunner* m_runner;
  std::shared_ptr<State> m_state;
};
