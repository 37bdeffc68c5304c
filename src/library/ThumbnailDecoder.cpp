#include "library/ThumbnailDecoder.h"

#include "cmp/JpegCodec.h"
#include "fil/ltfil.h"
#include "krn/ResultCodes.h"
#include "library/PhotoEncoding.h"
#include "library/PhotoNames.h"

int DecodeThumbnail(const QString& file, ImageBitmap& bmp, QString& description) {
  ImageBitmap decoded;
  QString text;
  // A "_tn.jpg" written by some other program can be a full-size photo: libjpeg's scaled
  // decode keeps it near thumbnail size and fast, and leaves real thumbnails untouched.
  int result = DecodeJpegFileScaled(file, decoded, 0, kThumbnailSide, kThumbnailSide, &text);
  if (result == ERROR_FILE_FORMAT) {
    result = LoadImageFile(file, decoded);
    if (result == SUCCESS) text = ReadPhotoDescription(file);
  }
  if (result != SUCCESS) return result;
  // The list draws the picture only; a region would be dead weight.
  decoded.Region = QPainterPath();
  if (qsizetype zero = text.indexOf(QChar(0)); zero >= 0) text.truncate(zero);
  bmp = std::move(decoded);
  description = LeftCharacters(text, kMaxDescriptionLength);
  return SUCCESS;
}
