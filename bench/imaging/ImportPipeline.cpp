// What importing one photo costs: decode, encode at full size, shrink to the
// 100-pixel thumbnail, encode that. Run under /usr/bin/time by imaging-bench.sh.
#include <cstdio>

#include "fil/ltfil.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s PHOTO.jpg OUTPUT-FOLDER\n", argv[0]);
    return 2;
  }
  const QString input = QString::fromLocal8Bit(argv[1]);
  const QString folder = QString::fromLocal8Bit(argv[2]) + "/";
  ImageBitmap bmp;
  int rc = LoadPictureFile(input, bmp);
  const int bits = std::max(bmp.BitsPerPixel, 24);
  if (rc == SUCCESS) rc = SaveImageFile(folder + "photo.jpg", bmp, FILE_JPEG_411, bits, 20);
  if (rc == SUCCESS) {
    const int w = bmp.Width, h = bmp.Height;
    const int tw = h < w ? 100 : std::max(1, 100 * w / h);
    const int th = h < w ? std::max(1, 100 * h / w) : 100;
    rc = ResizeBitmap(bmp, tw, th);
  }
  if (rc == SUCCESS) rc = SaveImageFile(folder + "photo_tn.jpg", bmp, FILE_JPEG_411, bits, 20);
  if (rc != SUCCESS) {
    std::fprintf(stderr, "%s\n", ResultName(rc));
    return 1;
  }
  return 0;
}
