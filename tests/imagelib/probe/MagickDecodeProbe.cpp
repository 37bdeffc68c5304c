// Loads a picture through the file module. With "stop" it says "decoding" at the first
// progress report and waits there for the test's signal; with "finish" it loads to the end.
//   magick_decode_probe stop|finish FILE
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "fil/ltfil.h"

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  if (std::strcmp(argv[1], "stop") == 0) {
    SetProgressCallback([](int) {
      std::printf("decoding\n");
      std::fflush(stdout);
      for (;;) pause();
      return 1;
    });
  }
  ImageBitmap bmp;
  return LoadBitmapFile(QString::fromLocal8Bit(argv[2]), bmp) == SUCCESS ? 0 : 1;
}
