#include "krn/ltkrn.h"

namespace {
thread_local ProgressCallback currentCallback;
}

ProgressCallback SetProgressCallback(ProgressCallback callback) {
  ProgressCallback previous = std::move(currentCallback);
  currentCallback = std::move(callback);
  return previous;
}

bool ReportProgress(int percent) {
  return !currentCallback || currentCallback(percent) == 1;
}
