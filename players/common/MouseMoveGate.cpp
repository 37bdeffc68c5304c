#include "common/MouseMoveGate.h"

bool MouseMoveGate::movedAway(QPoint position) {
  if (!seen_) {
    seen_ = true;
    first_ = position;
    return false;
  }
  const QPoint delta = position - first_;
  return delta.x() * delta.x() + delta.y() * delta.y() > threshold_ * threshold_;
}
