#pragma once

#include <algorithm>

#include <QRect>
#include <QSize>

// A rectangle of whole pixels in 64 bits, right and bottom exclusive. QRect keeps its
// corners in int and overflows on width() or isNull() near INT_MIN/INT_MAX, so every
// rectangle a caller passes is taken into one of these before any arithmetic.
struct PixelBox {
  qint64 left = 0, top = 0, right = 0, bottom = 0;

  static PixelBox fromRect(const QRect& r) {
    return {r.left(), r.top(), qint64(r.right()) + 1, qint64(r.bottom()) + 1};
  }
  static PixelBox fromSize(QSize s) { return {0, 0, s.width(), s.height()}; }
  // QRect() and every rectangle of no width and no height; safe for any corners.
  static bool isNullRect(const QRect& r) {
    return qint64(r.right()) + 1 == r.left() && qint64(r.bottom()) + 1 == r.top();
  }

  qint64 width() const { return right - left; }
  qint64 height() const { return bottom - top; }
  bool isEmpty() const { return right <= left || bottom <= top; }
  PixelBox intersected(const PixelBox& o) const {
    return {std::max(left, o.left), std::max(top, o.top), std::min(right, o.right),
            std::min(bottom, o.bottom)};
  }
  PixelBox translated(qint64 dx, qint64 dy) const {
    return {left + dx, top + dy, right + dx, bottom + dy};
  }
  // Only for boxes known to lie within int range (inside a device or a picture).
  QRect toRect() const { return QRect(int(left), int(top), int(width()), int(height())); }
};
