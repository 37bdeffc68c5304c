#pragma once

#include <condition_variable>
#include <mutex>

#include <QString>

// A counting semaphore with a maximum count, as the program's worker threads are stopped
// with: the owner releases it once, the worker sees the signal at its next wait.
// Handed out by SemaphoreRegistry; every member is safe to call from any thread.
class NamedSemaphore {
 public:
  // Waits without a time-out.
  static constexpr int kInfinite = -1;

  NamedSemaphore(QString name, int initialCount, int maximumCount);
  NamedSemaphore(const NamedSemaphore&) = delete;
  NamedSemaphore& operator=(const NamedSemaphore&) = delete;

  const QString& name() const { return m_name; }
  int maximumCount() const { return m_maximum; }
  int count() const;

  // Adds releaseCount to the count and wakes waiters. Fails, changing nothing, when the
  // count would pass the maximum or releaseCount is not positive. previousCount, when
  // given, receives the count before the call.
  bool release(int releaseCount = 1, int* previousCount = nullptr);
  // Takes one from the count, waiting up to timeoutMs milliseconds (kInfinite: for ever)
  // for it to become positive. False when the time ran out.
  bool wait(int timeoutMs);

 private:
  const QString m_name;
  const int m_maximum;
  mutable std::mutex m_mutex;
  std::condition_variable m_available;
  int m_count;
};
