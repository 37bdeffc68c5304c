#include "common/SlideTimeline.h"

#include <algorithm>

SlideTimeline::SlideTimeline(int slideMs, int fadeMs)
    : slideMs_(std::max(slideMs, 1)), fadeMs_(std::max(fadeMs, 0)) {}

void SlideTimeline::show(int index, qint64 now) {
  current_ = index;
  fadeTarget_ = -1;
  shownAt_ = now;
  pausedShownFor_ = 0;
}

bool SlideTimeline::isDue(qint64 now) const {
  if (paused_ || isFading() || current_ < 0) return false;
  return now - shownAt_ >= slideMs_;
}

void SlideTimeline::beginFade(int index, qint64 now) {
  fadeTarget_ = index;
  fadeStart_ = now;
}

double SlideTimeline::fadeMix(qint64 now) const {
  if (!isFading()) return 0.0;
  return FadeMix(now - fadeStart_, fadeMs_);
}

bool SlideTimeline::finishFade(qint64 now) {
  if (!isFading() || now - fadeStart_ < fadeMs_) return false;
  show(fadeTarget_, now);
  return true;
}

void SlideTimeline::completeFade(qint64 now) {
  if (isFading()) show(fadeTarget_, now);
}

void SlideTimeline::setPaused(bool paused, qint64 now) {
  if (paused == paused_) return;
  paused_ = paused;
  // Resuming gives the photo the rest of its time, not a new full turn.
  if (paused)
    pausedShownFor_ = now - shownAt_;
  else
    shownAt_ = now - pausedShownFor_;
}

double FadeMix(qint64 elapsed, int fadeMs) {
  if (fadeMs <= 0 || elapsed >= fadeMs) return 1.0;
  if (elapsed <= 0) return 0.0;
  const double t = double(elapsed) / fadeMs;
  return t * t * (3.0 - 2.0 * t);
}

int StepPhotoIndex(int from, int step, int count, const QSet<int>& skipped) {
  if (count <= 0) return -1;
  int index = from;
  for (int tries = 0; tries < count; ++tries) {
    index = ((index + step) % count + count) % count;
    if (!skipped.contains(index)) return index;
  }
  return -1;
}
