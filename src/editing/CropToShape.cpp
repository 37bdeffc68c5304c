#include "editing/CropToShape.h"

#include "dis/ltdis.h"
#include "img/ltimg.h"

int CropToShape(const ImageBitmap& picture, const CropArea& area, ImageBitmap& result) {
  if (!picture.hasPixels()) return ERROR_NO_BITMAP;
  if (area.Source.isEmpty()) return ERROR_INV_PARAMETER;
  // A shape dragged wholly off the picture has an empty region: the result is all white.
  ImageBitmap shaped = picture;
  int code = SUCCESS;
  if (area.HasShape)
    code = area.Ellipse ? SetEllipseRegion(shaped, area.Shape) : SetRectRegion(shaped, area.Shape);
  if (code != SUCCESS) return code;

  ImageBitmap cropped;
  code = CreateBitmap(cropped, 1, area.Source.width(), area.Source.height(),
                      picture.BitsPerPixel <= 8 ? 24 : picture.BitsPerPixel, ColorOrder::Bgr, nullptr, TopLeft);
  if (code != SUCCESS) return code;
  CopyBitmapAttributes(cropped, picture);
  cropped.Order = ColorOrder::Bgr;
  FillBitmap(cropped, qRgb(255, 255, 255));
  std::unique_ptr<DeviceContext> dc = CreateBitmapDC(cropped);
  if (!dc) return ERROR_NO_MEMORY;
  const QRect whole(QPoint(0, 0), area.Source.size());
  code = area.HasShape ? PaintBitmapInRegion(*dc, shaped, area.Source, whole, QRect(), RasterOp::Copy)
                       : PaintBitmap(*dc, shaped, area.Source, whole, QRect(), RasterOp::Copy);
  const int closed = DeleteBitmapDC(dc);
  if (code != SUCCESS) return code;
  if (closed != SUCCESS) return closed;
  FinishBitmap(cropped, 0);
  result = std::move(cropped);
  return SUCCESS;
}
