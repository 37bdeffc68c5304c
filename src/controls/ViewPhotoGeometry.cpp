#include "controls/ViewPhotoGeometry.h"

#include <QtGlobal>

namespace {
constexpr int kExtraWidth = 13;
constexpr int kExtraHeight = 10;
constexpr int kBottomGap = 35;
}  // namespace

QRect ViewPhotoWindowRect(QSize picture, int buttonHeight, const QRect& screen) {
  const int width = qMin(qMax(0, picture.width()) + kExtraWidth, screen.width());
  int height = qMin(qMax(0, picture.height()) + 2 * buttonHeight + kExtraHeight, screen.height());
  const int x = (screen.width() - width) / 2;
  int y = (screen.height() - height) / 2;
  const int lowestBottom = screen.height() - kBottomGap;
  if (y + height > lowestBottom) {
    y = lowestBottom - height;
    if (y < 0) {
      y = 0;
      height = qMax(0, lowestBottom);
    }
  }
  return QRect(screen.x() + x, screen.y() + y, width, height);
}

QString ViewPhotoTitle(const QString& name, QSize picture) {
  if (name.isEmpty())
    return QStringLiteral("View Full Photo - %1 x %2").arg(picture.width()).arg(picture.height());
  return QStringLiteral("View Full Photo - %1, %2 x %3")
      .arg(name)
      .arg(picture.width())
      .arg(picture.height());
}
