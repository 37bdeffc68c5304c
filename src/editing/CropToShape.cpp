#include "editing/CropToShape.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "krn/ParallelRows.h"
#include "img/ltimg.h"

namespace {
// The columns [first, end) of a row (at pixel centre y + 0.5) whose pixel centres lie in
// the shape: a rectangle, or the ellipse inscribed in it.
void ShapeSpan(const CropArea& area, int y, int& first, int& end) {
  const QRectF shape(area.Shape);
  const double cy = y + 0.5;
  if (cy < shape.top() || cy > shape.bottom()) {
    first = end = 0;
    return;
  }
  if (!area.Ellipse) {
    first = area.Shape.left();
    end = area.Shape.left() + area.Shape.width();
    return;
  }
  const double rx = shape.width() / 2, ry = shape.height() / 2;
  const double dy = (cy - shape.center().y()) / ry;
  const double half = rx * std::sqrt(std::max(0.0, 1 - dy * dy));
  // Pixels whose centre x + 0.5 lies within [centre - half, centre + half].
  first = int(std::ceil(shape.center().x() - half - 0.5));
  end = int(std::floor(shape.center().x() + half - 0.5)) + 1;
}
}  // namespace

int CropToShape(const ImageBitmap& picture, const CropArea& area, ImageBitmap& result) {
  if (!picture.hasPixels()) return ERROR_NO_BITMAP;
  if (area.Source.isEmpty()) return ERROR_INV_PARAMETER;
  const QImage source = BitmapToRgb32(picture);
  QImage cropped(area.Source.size(), source.format());
  if (cropped.isNull()) return ERROR_NO_MEMORY;
  uchar* const bits = cropped.bits();
  const qsizetype stride = cropped.bytesPerLine();
  const int width = source.width(), height = source.height();
  const QRgb white = qRgb(255, 255, 255);

  ForEachRowBandToTheEnd(cropped.height(), [&](int firstRow, int endRow) {
    for (int y = firstRow; y < endRow; ++y) {
      QRgb* out = reinterpret_cast<QRgb*>(bits + stride * y);
      std::fill(out, out + cropped.width(), white);
      const int sy = y + area.Source.top();
      if (sy < 0 || sy >= height) continue;
      int first = 0, end = width;
      if (area.HasShape) ShapeSpan(area, sy, first, end);
      first = std::max({first, 0, area.Source.left()});
      end = std::min({end, width, area.Source.left() + area.Source.width()});
      if (end > first)
        std::memcpy(out + (first - area.Source.left()), reinterpret_cast<const QRgb*>(source.constScanLine(sy)) + first, size_t(end - first) * sizeof(QRgb));
    }
  });
  ImageBitmap made;
  const int code = SetBitmapImage(made, std::move(cropped));
  if (code != SUCCESS) return code;
  CopyBitmapAttributes(made, picture);
  made.Order = ColorOrder::Bgr;
  FinishBitmap(made, 0);
  result = std::move(made);
  return SUCCESS;
}
