#include "system/SemaphoreRegistry.h"

SemaphoreRegistry::Handle SemaphoreRegistry::create(const QString& name, int initialCount,
                                                    int maximumCount, bool* alreadyExisted) {
  if (alreadyExisted) *alreadyExisted = false;
  if (maximumCount < 1 || initialCount < 0 || initialCount > maximumCount) return nullptr;
  if (name.isEmpty()) return std::make_shared<NamedSemaphore>(name, initialCount, maximumCount);

  std::lock_guard lock(m_mutex);
  std::weak_ptr<NamedSemaphore>& entry = m_semaphores[name];
  if (Handle existing = entry.lock()) {
    if (alreadyExisted) *alreadyExisted = true;
    return existing;
  }
  auto semaphore = std::make_shared<NamedSemaphore>(name, initialCount, maximumCount);
  entry = semaphore;
  // Forget names whose semaphores are gone, so the map does not grow for ever.
  std::erase_if(m_semaphores, [](const auto& item) { return item.second.expired(); });
  return semaphore;
}

SemaphoreRegistry::Handle SemaphoreRegistry::open(const QString& name) {
  if (name.isEmpty()) return nullptr;
  std::lock_guard lock(m_mutex);
  const auto found = m_semaphores.find(name);
  return found == m_semaphores.end() ? nullptr : found->second.lock();
}
