#pragma once

#include <mutex>

// The system scanner library, started once on first need and kept running until the
// process ends. Devices are used under the lock, one caller at a time.
class SaneLibrary {
 public:
  // Starts the library if it is not started; true when it is running.
  static bool start();
  // Held while talking to devices.
  static std::mutex& lock();

 private:
  SaneLibrary();
  static SaneLibrary& instance();
  bool started_ = false;
  std::mutex mutex_;
};
