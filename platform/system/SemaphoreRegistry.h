#pragma once

#include <map>
#include <memory>
#include <mutex>

#include <QString>

#include "system/NamedSemaphore.h"

// The program's named semaphores. The registry is local to the process, so two running
// copies of the program never signal each other. A semaphore lives as long as some handle
// to it does; after the last handle is dropped its name is free again.
class SemaphoreRegistry {
 public:
  using Handle = std::shared_ptr<NamedSemaphore>;

  // The semaphore of that name, created with the counts when there is none yet; an
  // existing one is returned as it is (its counts unchanged) and alreadyExisted, when
  // given, tells which happened. Null for counts out of order (maximum below 1, initial
  // below 0 or above maximum). An empty name makes a semaphore that nothing can open.
  Handle create(const QString& name, int initialCount, int maximumCount,
                bool* alreadyExisted = nullptr);
  // The existing semaphore of that name, or null.
  Handle open(const QString& name);

 private:
  std::mutex m_mutex;
  std::map<QString, std::weak_ptr<NamedSemaphore>> m_semaphores;
};
