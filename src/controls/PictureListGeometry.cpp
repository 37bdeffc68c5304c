#include "controls/PictureListGeometry.h"

#include <algorithm>

namespace {
constexpr int kPictureTop = 2;
constexpr int kTextGap = 2;
constexpr int kTextMargin = 2;
constexpr int kThumbnailSide = 100;
constexpr int kColumnMargin = 10;
}  // namespace

int PictureListColumnWidth(int averageCharWidth) {
  return std::max(16 * std::max(averageCharWidth, 0), kThumbnailSide + 2 * kColumnMargin);
}

QRect PictureListPictureRect(const QRect& item, QSize picture) {
  const int left = item.left() + (item.width() - picture.width()) / 2;
  return QRect(left, item.top() + kPictureTop, picture.width(), picture.height());
}

QRect PictureListTextRect(const QRect& item, int pictureHeight) {
  const int top = pictureHeight > 0 ? item.top() + kPictureTop + pictureHeight + kTextGap
                                    : item.top() + kPictureTop;
  const int bottom = std::max(top, item.bottom() + 1);
  return QRect(QPoint(item.left() + kTextMargin, top),
               QPoint(item.right() - kTextMargin, bottom - 1));
}

QString PictureListDisplayText(const QString& text) {
  QString shown = text;
  return shown.replace(QStringLiteral("&&"), QStringLiteral("&"));
}
