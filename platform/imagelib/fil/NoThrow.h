#pragma once

// Nothing throws across the library's face: the public functions run their work
// through this, so that an allocation failure deep in Qt or a library becomes a code.

#include <new>

#include "krn/ResultCodes.h"

template <typename Work>
int NoThrow(Work&& work) noexcept {
  try {
    return work();
  } catch (const std::bad_alloc&) {
    return ERROR_NO_MEMORY;
  } catch (...) {
    return ERROR_FAILURE;
  }
}
