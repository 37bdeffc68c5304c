#include "editing/PreviewPicture.h"

#include <algorithm>

ImageBitmap ReducedForPreview(const ImageBitmap& picture) {
  ImageBitmap shown = picture;
  const int longest = std::max(picture.Width, picture.Height);
  if (longest > kPreviewSide && picture.hasPixels()) {
    const int width = std::max(1, int(qint64(picture.Width) * kPreviewSide / longest));
    const int height = std::max(1, int(qint64(picture.Height) * kPreviewSide / longest));
    if (ResizeBitmap(shown, width, height) != SUCCESS) shown = picture;
  }
  return shown;
}
