#include "system/NamedSemaphore.h"

#include <chrono>
#include <utility>

NamedSemaphore::NamedSemaphore(QString name, int initialCount, int maximumCount)
    : m_name(std::move(name)), m_maximum(maximumCount), m_count(initialCount) {}

int NamedSemaphore::count() const {
  std::lock_guard lock(m_mutex);
  return m_count;
}

bool NamedSemaphore::release(int releaseCount, int* previousCount) {
  {
    std::lock_guard lock(m_mutex);
    if (releaseCount <= 0 || releaseCount > m_maximum - m_count) return false;
    if (previousCount) *previousCount = m_count;
    m_count += releaseCount;
  }
  m_available.notify_all();
  return true;
}

bool NamedSemaphore::wait(int timeoutMs) {
  std::unique_lock lock(m_mutex);
  const auto available = [this] { return m_count > 0; };
  // A poll must stay cheap: workers check their stop signal between every small step.
  if (timeoutMs == 0 && !available()) return false;
  if (timeoutMs < 0) {
    m_available.wait(lock, available);
  } else if (!m_available.wait_for(lock, std::chrono::milliseconds(timeoutMs), available)) {
    return false;
  }
  --m_count;
  return true;
}
