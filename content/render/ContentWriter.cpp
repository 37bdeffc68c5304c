#include "ContentWriter.h"

#include <QDir>
#include <QFileInfo>

#include "fil/ltfil.h"
#include "krn/ResultCodes.h"

QString SaveContentPicture(const QImage& picture, const QString& file, int jpegQuality) {
  const QString suffix = QFileInfo(file).suffix().toLower();
  int format = FILE_UNKNOWN, bits = 24;
  if (suffix == u"gif") {
    format = FILE_GIF;
    bits = 8;
  } else if (suffix == u"jpg") {
    format = FILE_JPEG;
  } else if (suffix == u"bmp") {
    format = FILE_BMP;
  } else if (suffix == u"png") {
    format = FILE_PNG;
    bits = picture.hasAlphaChannel() ? 32 : 24;
  } else {
    return QStringLiteral("no format for ") + file;
  }
  if (!QDir().mkpath(QFileInfo(file).absolutePath())) return QStringLiteral("cannot make the folder of ") + file;
  ImageBitmap bmp;
  int result = SetBitmapImage(bmp, picture);
  if (result == SUCCESS) result = SaveImageFile(file, bmp, format, bits, jpegQuality);
  if (result != SUCCESS) return file + QStringLiteral(": ") + QString::fromUtf8(ResultText(result));
  return {};
}

QImage LoadContentPicture(const QString& file) {
  ImageBitmap bmp;
  if (LoadPictureFile(file, bmp) != SUCCESS) return {};
  return BitmapToRgb32(bmp);
}
