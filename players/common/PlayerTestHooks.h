#pragma once

#include <QString>

#include "common/SlideTimeline.h"

class QWidget;

// Settings from the environment that let tests run the real players:
// BRIVANE_PLAYER_EXIT_AFTER_MS ends the player by itself, BRIVANE_PLAYER_SLIDE_MS
// shortens the time each photo stays, and BRIVANE_PLAYER_SCREENSHOT names a PNG file
// that receives what the player shows just before it ends by itself.
struct PlayerTestHooks {
  int exitAfterMs = -1;
  int slideMs = -1;
  QString screenshotPath;

  static PlayerTestHooks fromEnvironment();
  // The show's timing: the usual one, or shortened by slideMs (the fade then takes at
  // most half of it).
  SlideTimeline timeline() const;
  // Arms the timed end, if asked for; `shown` is grabbed into the screenshot then.
  // Call with a QApplication running.
  void arm(QWidget* shown) const;
};
