#include "myphotos/HintGeometry.h"

#include <QFontMetrics>

namespace {
constexpr int kWrapWidth = 200;
constexpr int kBorder = 4;
constexpr int kBelowCursor = 16;
constexpr int kAside = 2;
}  // namespace

QSize HintSize(const QFontMetrics& metrics, const QString& text) {
  const int textWidth = metrics.horizontalAdvance(text);
  if (textWidth < kWrapWidth) return {textWidth + kBorder, metrics.height() + kBorder};
  // Wrapping breaks at words, so the lines are fewer than the text width divides into
  // only for text without spaces: measure the wrapped text as the hint draws it.
  const QRect wrapped = metrics.boundingRect(QRect(0, 0, kWrapWidth, 1 << 20),
                                             Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, text);
  return {kWrapWidth + kBorder, wrapped.height() + kBorder};
}

QPoint HintPosition(QPoint cursor, QSize hint, QSize list) {
  QPoint at(cursor.x(), cursor.y() + kBelowCursor);
  if (at.x() + hint.width() > list.width()) at.setX(cursor.x() - (hint.width() + kAside));
  if (at.y() + hint.height() > list.height()) at.setY(cursor.y() - (hint.height() + kAside));
  return at;
}
