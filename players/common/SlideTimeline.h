#pragma once

#include <QSet>
#include <QtGlobal>

// When each photo of a show comes and goes. Times are milliseconds of one monotonic
// clock that the caller passes in, so the rules can be followed without a screen.
class SlideTimeline {
 public:
  static constexpr int kDefaultSlideMs = 5000;
  static constexpr int kDefaultFadeMs = 800;

  // slideMs: how long a photo stays fully shown; fadeMs: the cross-fade to the next.
  SlideTimeline(int slideMs = kDefaultSlideMs, int fadeMs = kDefaultFadeMs);

  int slideMs() const { return slideMs_; }
  int fadeMs() const { return fadeMs_; }

  // Shows the photo at once, without a fade (the first photo, or after a fade ended).
  void show(int index, qint64 now);
  int current() const { return current_; }
  // Whether the current photo has been shown long enough (never while paused or fading).
  bool isDue(qint64 now) const;

  // Starts the cross-fade from the current photo to the photo at index.
  void beginFade(int index, qint64 now);
  bool isFading() const { return fadeTarget_ >= 0; }
  int fadeTarget() const { return fadeTarget_; }
  // How far the fade has come, 0 to 1, eased at both ends; 0 when not fading.
  double fadeMix(qint64 now) const;
  // Ends a fade that has run its time: the target becomes the current photo.
  // Returns whether it did.
  bool finishFade(qint64 now);
  // Ends any fade at once (the user steps on while one runs).
  void completeFade(qint64 now);

  void setPaused(bool paused, qint64 now);
  bool isPaused() const { return paused_; }

 private:
  int slideMs_;
  int fadeMs_;
  int current_ = -1;
  int fadeTarget_ = -1;
  qint64 shownAt_ = 0;
  qint64 fadeStart_ = 0;
  bool paused_ = false;
  qint64 pausedShownFor_ = 0;
};

// The eased share of a fade after elapsed of fadeMs milliseconds: 0 at the start, 1 at
// the end, rising smoothly without a jump at either end.
double FadeMix(qint64 elapsed, int fadeMs);

// The next photo from `from` stepping by step (+1 or -1), round the end of count
// photos, over those in skipped (photos that would not decode); -1 when none is left.
int StepPhotoIndex(int from, int step, int count, const QSet<int>& skipped);
