#include "twn/SaneLibrary.h"

#include <sane/sane.h>

SaneLibrary::SaneLibrary() {
  SANE_Int version = 0;
  started_ = sane_init(&version, nullptr) == SANE_STATUS_GOOD;
}

SaneLibrary::~SaneLibrary() {
  if (started_) sane_exit();
}

SaneLibrary& SaneLibrary::instance() {
  static SaneLibrary library;  // made once, thread-safely; destroyed at unload
  return library;
}

bool SaneLibrary::start() { return instance().started_; }

std::mutex& SaneLibrary::lock() { return instance().mutex_; }
