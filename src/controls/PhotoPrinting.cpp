#include "controls/PhotoPrinting.h"

#include <QPainter>
#include <QPrinter>

#include "dis/ltdis.h"

QSize PrintPictureSize(QSize picture, QSize printable) {
  qint64 w = picture.width();
  qint64 h = picture.height();
  const qint64 pw = printable.width();
  const qint64 ph = printable.height();
  if (w <= 0 || h <= 0 || pw <= 0 || ph <= 0) return QSize();
  h = h * pw / w;
  w = w * pw / w;
  if (w > pw && w > 0) {
    h = h * pw / w;
    w = pw;
  }
  if (h > ph) {
    w = w * ph / h;
    h = ph;
  }
  return QSize(int(w), int(h));
}

bool PrintPhoto(QPrinter& printer, const ImageBitmap& picture) {
  printer.setDocName(QStringLiteral("Printing a Photo"));
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  const QSize printable(printer.width(), printer.height());
  DeviceContext dc(painter, printable, printer.logicalDpiX(), printer.logicalDpiY());
  const QSize size = PrintPictureSize(picture.shownSize(), printable);
  if (picture.hasPixels() && !size.isEmpty())
    PaintBitmap(dc, picture, QRect(), QRect(QPoint(0, 0), size), QRect(), RasterOp::Copy);
  return painter.end();
}
