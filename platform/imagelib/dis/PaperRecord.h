#pragma once

#include <deque>

#include <QImage>
#include <QRect>
#include <QSize>

#include "dis/PaintLayer.h"
#include "dis/ltdis.h"

// What the library painted on a device whose pixels cannot be read back (a printer, a PDF
// writer), so that And and Or can combine with it. The pictures are kept by value, sharing
// their pixels with the caller's bitmaps; past a memory budget the oldest are forgotten,
// and raster operations there combine with blank paper.
class PaperRecord {
 public:
  void add(const ImageBitmap& bitmap, const PaintRequest& request, RasterOp op);
  // The page in area as the recorded paints left it on white paper, RGB32.
  QImage render(QSize device, const QRect& area) const;
  void clear();

 private:
  struct Entry {
    ImageBitmap bitmap;
    PaintRequest request;
    RasterOp op;
  };
  std::deque<Entry> entries_;
  qint64 keptBytes_ = 0;
};
