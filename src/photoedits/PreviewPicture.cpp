#include "photoedits/PreviewPicture.h"

#include <algorithm>

QSize ReducedPreviewSize(QSize size) {
  const int longest = std::max(size.width(), size.height());
  if (longest <= kPreviewSide) return size;
  return QSize(std::max(1, int(qint64(size.width()) * kPreviewSide / longest)),
               std::max(1, int(qint64(size.height()) * kPreviewSide / longest)));
}

ImageBitmap ReducedForPreview(const ImageBitmap& picture) {
  ImageBitmap shown = picture;
  const QSize reduced = ReducedPreviewSize(QSize(picture.Width, picture.Height));
  if (reduced != QSize(picture.Width, picture.Height) && picture.hasPixels() &&
      ResizeBitmap(shown, reduced.width(), reduced.height()) != SUCCESS)
    shown = picture;
  return shown;
}
