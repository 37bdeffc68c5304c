#include <cstring>

#include "krn/ltkrn.h"

int FitRectToBitmap(const ImageBitmap& bmp, QRect& rect) {
  if (bmp.isEmpty() || rect.width() <= 0 || rect.height() <= 0) return ERROR_INV_PARAMETER;
  // Fitted as shown, so a picture turned by its perspective keeps its proportions.
  const qint64 w = bmp.shownSize().width(), h = bmp.shownSize().height();
  int width = rect.width(), height = rect.height();
  if (w * rect.height() > h * rect.width())
    height = std::max<int>(1, int(h * rect.width() / w));
  else
    width = std::max<int>(1, int(w * rect.height() / h));
  rect = QRect(rect.x() + (rect.width() - width) / 2, rect.y() + (rect.height() - height) / 2,
               width, height);
  return SUCCESS;
}

int CopyBitmapArea(ImageBitmap& dst, int x, int y, const ImageBitmap& src) {
  if (!dst.hasPixels() || !src.hasPixels()) return ERROR_NO_BITMAP;
  // Work in 64 bits so that no offset a caller passes can wrap into the picture.
  const qint64 left = std::max<qint64>(0, x), top = std::max<qint64>(0, y);
  const qint64 right = std::min<qint64>(dst.Width, qint64(x) + src.Width);
  const qint64 bottom = std::min<qint64>(dst.Height, qint64(y) + src.Height);
  if (left >= right || top >= bottom) return SUCCESS;

  QImage source = src.Pixels;
  if (dst.Pixels.format() == QImage::Format_Indexed8)
    source = source.convertToFormat(QImage::Format_Indexed8, dst.Pixels.colorTable(),
                                    Qt::ThresholdDither);
  else if (source.format() != dst.Pixels.format())
    source = source.convertToFormat(dst.Pixels.format());
  if (source.isNull()) return ERROR_NO_MEMORY;

  const int bytesPerPixel = dst.Pixels.depth() / 8;
  const size_t rowBytes = size_t(right - left) * size_t(bytesPerPixel);
  for (qint64 row = top; row < bottom; ++row) {
    const uchar* in = source.constScanLine(int(row - y)) + (left - x) * bytesPerPixel;
    uchar* out = dst.Pixels.scanLine(int(row)) + left * bytesPerPixel;
    std::memcpy(out, in, rowBytes);
  }
  return SUCCESS;
}
