// What importing one photo costs, the way the program does it: decode, then store it as
// a photo (full-size JPEG and 100-pixel thumbnail). Run under /usr/bin/time by
// imaging-bench.sh.
#include <cstdio>

#include "fil/ltfil.h"
#include "library/PhotoStore.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s PHOTO.jpg OUTPUT-FOLDER\n", argv[0]);
    return 2;
  }
  ImageBitmap working;
  int rc = LoadPictureFile(QString::fromLocal8Bit(argv[1]), working);
  PhotoStore store(QString::fromLocal8Bit(argv[2]) + "/");
  if (rc == SUCCESS) rc = store.StorePhoto(working, QStringLiteral("photo"), QString());
  if (rc != SUCCESS) {
    std::fprintf(stderr, "%s\n", ResultName(rc));
    return 1;
  }
  return 0;
}
