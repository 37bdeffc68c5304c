#include "cmp/JpegProgressMonitor.h"

#include "cmp/JpegErrorManager.h"
#include "krn/ResultCodes.h"
#include "krn/ltkrn.h"

namespace {
constexpr int kPercentStep = 4;

bool CallerWantsToGoOn(int percent) {
  // The callback is the caller's code; an exception must not unwind through libjpeg.
  try {
    return ReportProgress(percent);
  } catch (...) {
    return false;
  }
}

void OnProgress(j_common_ptr cinfo) {
  auto* monitor = reinterpret_cast<JpegProgressMonitor*>(cinfo->progress);
  const jpeg_progress_mgr& p = monitor->pub;
  if (p.pass_limit <= 0 || p.total_passes <= 0) return;
  const long done = p.completed_passes * 100L + p.pass_counter * 100L / p.pass_limit;
  const int percent = int(done / p.total_passes);
  if (percent < monitor->lastPercent + kPercentStep && monitor->lastPercent >= 0) return;
  monitor->lastPercent = percent;
  if (!CallerWantsToGoOn(percent)) AbortJpegSession(cinfo, ERROR_USER_ABORT);
}
}  // namespace

jpeg_progress_mgr* InstallJpegProgressMonitor(JpegProgressMonitor& monitor) {
  monitor.pub.progress_monitor = OnProgress;
  monitor.pub.pass_counter = 0;
  monitor.pub.pass_limit = 0;
  monitor.pub.completed_passes = 0;
  monitor.pub.total_passes = 0;
  monitor.lastPercent = -1;
  return &monitor.pub;
}
