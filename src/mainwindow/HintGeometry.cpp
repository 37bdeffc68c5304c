#include "mainwindow/HintGeometry.h"

namespace {
constexpr int kWrapWidth = 200;
constexpr int kBorder = 4;
constexpr int kBelowCursor = 16;
constexpr int kAside = 2;
}  // namespace

QSize HintSize(int textWidth, int lineHeight) {
  if (textWidth < kWrapWidth) return {textWidth + kBorder, lineHeight + kBorder};
  return {kWrapWidth + kBorder, (textWidth / kWrapWidth + 1) * lineHeight + kBorder};
}

QPoint HintPosition(QPoint cursor, QSize hint, QSize list) {
  QPoint at(cursor.x(), cursor.y() + kBelowCursor);
  if (at.x() + hint.width() > list.width()) at.setX(cursor.x() - (hint.width() + kAside));
  if (at.y() + hint.height() > list.height()) at.setY(cursor.y() - (hint.height() + kAside));
  return at;
}
