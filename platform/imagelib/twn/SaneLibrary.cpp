#include "twn/SaneLibrary.h"

#include <sane/sane.h>

SaneLibrary::SaneLibrary() {
  SANE_Int version = 0;
  started_ = sane_init(&version, nullptr) == SANE_STATUS_GOOD;
}

SaneLibrary& SaneLibrary::instance() {
  // Made once, thread-safely, and kept to the end: every device is closed after its scan,
  // and stopping the library at exit would only unload its backends before the process
  // is gone anyway (and before leak checkers could name what they hold).
  static SaneLibrary* library = new SaneLibrary;
  return *library;
}

bool SaneLibrary::start() { return instance().started_; }

std::mutex& SaneLibrary::lock() { return instance().mutex_; }
