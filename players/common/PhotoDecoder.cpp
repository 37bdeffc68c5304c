#include "common/PhotoDecoder.h"

#include "cmp/JpegCodec.h"
#include "common/SlideFrame.h"
#include "dis/ltdis.h"
#include "fil/ltfil.h"
#include "krn/ltkrn.h"

QImage PhotoDecoder::loadFitted(const QString& path, QSize area) {
  if (area.isEmpty()) return QImage();
  ImageBitmap bmp;
  // A camera photo decodes at the smallest JPEG scale still covering the screen; a file
  // that is not a JPEG after all goes through the general loader.
  if (DecodeJpegFileScaled(path, bmp, 24, area.width(), area.height()) != SUCCESS &&
      LoadPictureFile(path, bmp) != SUCCESS)
    return QImage();
  if (!bmp.hasPixels() || bmp.isEmpty()) return QImage();
  const QSize shown = bmp.shownSize();
  const QSize fitted = FitPictureRect(shown, area).size();
  if (fitted != shown) {
    // Resizing works on the stored rows, so a quarter-turned picture swaps its target.
    const bool turned = bmp.Perspective >= LeftTop;
    const int width = turned ? fitted.height() : fitted.width();
    const int height = turned ? fitted.width() : fitted.height();
    if (ResizeBitmap(bmp, width, height) != SUCCESS) return QImage();
  }
  return MakeDeviceBitmap(bmp);
}

void PhotoDecoder::decode(int index, const QString& path, QSize area) {
  emit decoded(index, loadFitted(path, area));
}
