#include "photoedits/RedEye.h"

#include "dis/ltdis.h"
#include "img/ltimg.h"

QRect RedEyeEllipse(QPoint press, QPoint release, QPoint scroll) {
  const QPoint topLeft(std::min(press.x(), release.x()), std::min(press.y(), release.y()));
  const QPoint bottomRight(std::max(press.x(), release.x()), std::max(press.y(), release.y()));
  return QRect(topLeft + scroll, QSize(bottomRight.x() - topLeft.x(), bottomRight.y() - topLeft.y()));
}

int CorrectRedEye(ImageBitmap& picture, const QRect& ellipse) {
  if (!picture.hasPixels()) return ERROR_NO_BITMAP;
  // Only the piece of the picture under the ellipse is worked on, then put back.
  const QRect box = ellipse.normalized() & QRect(0, 0, picture.Width, picture.Height);
  if (box.isEmpty()) return ERROR_INV_PARAMETER;
  ImageBitmap piece;
  int result = CreateBitmap(piece, 1, box.width(), box.height(), picture.BitsPerPixel, picture.Order, nullptr, TopLeft);
  if (result == SUCCESS) result = DuplicatePalette(piece, picture);
  if (result == SUCCESS) result = CopyBitmapArea(piece, -box.x(), -box.y(), picture);
  if (result == SUCCESS) result = SetEllipseRegion(piece, ellipse.translated(-box.topLeft()));
  if (result != SUCCESS) return result;

  // The grey source: black, but for the grey of the pixels inside the ellipse.
  ImageBitmap grey;
  result = CreateBitmap(grey, 1, box.width(), box.height(), 24, piece.Order, nullptr, TopLeft);
  if (result != SUCCESS) return result;
  std::unique_ptr<DeviceContext> dc = CreateBitmapDC(grey);
  if (!dc) return ERROR_NO_MEMORY;
  result = PaintBitmapInRegion(*dc, piece, QRect(), QRect(QPoint(0, 0), box.size()), QRect(), RasterOp::Copy);
  const int closed = DeleteBitmapDC(dc);
  if (result == SUCCESS) result = closed;
  if (result == SUCCESS) result = FinishBitmap(grey, 0);
  if (result == SUCCESS) result = ApplyGrayScale(grey, 8);
  if (result != SUCCESS) return result;

  // OR with black leaves a pixel as it is; inside the ellipse the grey lightens it.
  result = FinishBitmap(piece, 0);
  if (result != SUCCESS) return result;
  dc = CreateBitmapDC(piece);
  if (!dc) return ERROR_NO_MEMORY;
  result = PaintBitmap(*dc, grey, QRect(), QRect(QPoint(0, 0), box.size()), QRect(), RasterOp::Or);
  const int painted = DeleteBitmapDC(dc);
  if (result == SUCCESS) result = painted;
  if (result == SUCCESS) result = CopyBitmapArea(picture, box.x(), box.y(), piece);
  return result;
}
