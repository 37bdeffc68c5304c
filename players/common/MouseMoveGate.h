#pragma once

#include <QPoint>

// Tells a real mouse move from the jitter and the synthetic moves a screen saver sees
// when it starts: the first position seen is the reference, and only a move further
// than the threshold from it counts.
class MouseMoveGate {
 public:
  static constexpr int kDefaultThreshold = 4;

  explicit MouseMoveGate(int threshold = kDefaultThreshold) : threshold_(threshold) {}

  // Whether the mouse, now at position, has moved away from where it first was.
  bool movedAway(QPoint position);

 private:
  int threshold_;
  bool seen_ = false;
  QPoint first_;
};
