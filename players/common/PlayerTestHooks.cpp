#include "common/PlayerTestHooks.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <algorithm>

namespace {
int Milliseconds(const char* name) {
  bool ok = false;
  const int value = qEnvironmentVariableIntValue(name, &ok);
  return ok && value >= 0 ? value : -1;
}
}  // namespace

PlayerTestHooks PlayerTestHooks::fromEnvironment() {
  PlayerTestHooks hooks;
  hooks.exitAfterMs = Milliseconds("BRIVANE_PLAYER_EXIT_AFTER_MS");
  hooks.slideMs = Milliseconds("BRIVANE_PLAYER_SLIDE_MS");
  hooks.screenshotPath = qEnvironmentVariable("BRIVANE_PLAYER_SCREENSHOT");
  return hooks;
}

SlideTimeline PlayerTestHooks::timeline() const {
  if (slideMs < 0) return SlideTimeline();
  return SlideTimeline(slideMs, std::min(SlideTimeline::kDefaultFadeMs, slideMs / 2));
}

void PlayerTestHooks::arm(QWidget* shown) const {
  if (exitAfterMs < 0) return;
  QPointer<QWidget> target(shown);
  const QString screenshot = screenshotPath;
  QTimer::singleShot(exitAfterMs, QCoreApplication::instance(), [target, screenshot] {
    if (target && !screenshot.isEmpty()) target->grab().save(screenshot, "PNG");
    // Ends every running loop, a modal box's included.
    QCoreApplication::exit(0);
  });
}
