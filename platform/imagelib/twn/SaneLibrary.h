#pragma once

#include <mutex>

// The system scanner library, started once on first need and stopped when the module
// unloads. Devices are used under the lock, one caller at a time.
class SaneLibrary {
 public:
  // Starts the library if it is not started; true when it is running.
  static bool start();
  // Held while talking to devices.
  static std::mutex& lock();

 private:
  SaneLibrary();
  ~SaneLibrary();
  static SaneLibrary& instance();
  bool started_ = false;
  std::mutex mutex_;
};
