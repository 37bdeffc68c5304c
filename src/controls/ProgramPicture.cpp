#include "controls/ProgramPicture.h"

#include "fil/ltfil.h"
#include "krn/ltkrn.h"

QPixmap LoadProgramPicture(const QString& path) {
  ImageBitmap picture;
  InitBitmap(picture, 0, 0, 0);
  QPixmap pixmap;
  if (LoadImageFile(path, picture) == 1 && picture.hasPixels()) pixmap = QPixmap::fromImage(picture.Pixels);
  FreeBitmap(picture);
  return pixmap;
}
