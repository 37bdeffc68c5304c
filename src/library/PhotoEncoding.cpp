#include "library/PhotoEncoding.h"

#include <algorithm>

#include "fil/ltfil.h"
#include "library/PhotoNames.h"

int PhotoBitsPerPixel(int ownBitsPerPixel) { return std::max(ownBitsPerPixel, 24); }

QSize ThumbnailSize(int width, int height) {
  if (width <= 0 || height <= 0) return {};
  // 64-bit products: 100 * height must not overflow for the largest pictures.
  qint64 w = kThumbnailSide;
  qint64 h = kThumbnailSide;
  if (height < width)
    h = qint64(kThumbnailSide) * height / width;
  else
    w = qint64(kThumbnailSide) * width / height;
  return QSize(int(std::max<qint64>(w, 1)), int(std::max<qint64>(h, 1)));
}

SaveComments StoreComments(const QString& description) {
  return SaveComments::Description(LeftCharacters(description, kMaxDescriptionLength));
}

QString ReadPhotoDescription(const QString& file) {
  QString text;
  if (ReadFileComment(file, COMMENT_DESCRIPTION, &text) < 0) return {};
  // The comment is a C string to its readers: it ends at the first zero byte.
  if (qsizetype zero = text.indexOf(QChar(0)); zero >= 0) text.truncate(zero);
  return LeftCharacters(text, kMaxDescriptionLength);
}
