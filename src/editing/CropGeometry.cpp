#include "editing/CropGeometry.h"

#include <algorithm>
#include <array>

namespace {
constexpr std::array<CropShape, 6> kShapes = {{
    {"Square", "crop-square.bmp", false, 10, 10},
    {"Rectangle", "crop-rectangle.bmp", false, 10, 5},
    {"Wide Rectangle", "crop-wide-rectangle.bmp", false, 5, 10},
    {"Oval", "crop-oval.bmp", true, 10, 5},
    {"Wide Oval", "crop-wide-oval.bmp", true, 5, 10},
    {"Circle", "crop-circle.bmp", true, 10, 10},
}};
// A fifteenth as the double the sizes were always computed with.
constexpr double kFifteenth = 0.06666666666666667;
constexpr int kSmallestSide = 100;
}  // namespace

std::span<const CropShape> CropShapes() { return kShapes; }

QRect CropShapeRect(QSize picture, int heightFactor, int widthFactor) {
  const int width = std::min(picture.width(), std::max(kSmallestSide, int(picture.width() * 0.1 * widthFactor)));
  const int height =
      std::min(picture.height(), std::max(kSmallestSide, int(picture.height() * kFifteenth * heightFactor)));
  return QRect(picture.width() / 2 - width / 2, picture.height() / 2 - height / 2, width, height);
}

QPoint PanInPicture(QSize picture, QSize drawn, QPoint pan) {
  if (drawn.width() <= 0 || drawn.height() <= 0) return QPoint();
  return QPoint(int(qint64(pan.x()) * picture.width() / drawn.width()),
                int(qint64(pan.y()) * picture.height() / drawn.height()));
}

QRect CropRegionRect(QSize picture, int heightFactor, int widthFactor, QSize drawn, QPoint pan) {
  return CropShapeRect(picture, heightFactor, widthFactor).translated(-PanInPicture(picture, drawn, pan));
}

QRect CropSourceRect(QSize picture, QSize client, QSize drawn, QPoint pan) {
  if (drawn.width() <= 0 || drawn.height() <= 0) return QRect(QPoint(), picture);
  const int width = int(qint64(picture.width()) * client.width() / drawn.width());
  const int height = int(qint64(picture.height()) * client.height() / drawn.height());
  const QPoint offset = PanInPicture(picture, drawn, pan);
  return QRect(picture.width() / 2 - width / 2 - offset.x(), picture.height() / 2 - height / 2 - offset.y(),
               width, height);
}
