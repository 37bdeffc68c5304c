// The decompression bombs a fuzzing campaign found: `write FOLDER` makes them, `refuse
// FILE` reads one as importing does (header, then the whole picture) and prints the
// result and the seconds that took inside the process.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

#include <QDir>
#include <QFile>

#include "fil/ltfil.h"
#include "support/BombFiles.h"

namespace {
bool WriteBombs(const QString& folder) {
  QDir().mkpath(folder);
  const QByteArray someRows(32 * (30000 / 8 + 1), '\0');
  const std::vector<std::pair<const char*, QByteArray>> bombs = {
      {"deflate-30000x30000.png", PngFile(30000, 30000, 1, someRows)},
      {"arithmetic-30000x30000.jpg", FlatJpegFile(true, 16, 16, 30000, 30000)},
      {"paint-65535x65535.msp", MspPackedFile(65535, std::vector<quint16>(65535, 0))},
      {"gem-65535x65535.img", GemImgFile(65535, 65535, 65535)},
  };
  for (const auto& [name, bytes] : bombs) {
    QFile file(folder + "/" + name);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) return false;
  }
  return true;
}
}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 || (std::strcmp(argv[1], "write") != 0 && std::strcmp(argv[1], "refuse") != 0)) {
    std::fprintf(stderr, "usage: %s write FOLDER | refuse FILE\n", argv[0]);
    return 2;
  }
  const QString path = QString::fromLocal8Bit(argv[2]);
  if (std::strcmp(argv[1], "write") == 0) return WriteBombs(path) ? 0 : 1;
  const auto start = std::chrono::steady_clock::now();
  ImageBitmap bmp;
  FileInfo header;
  const int result = LoadPictureFile(path, bmp, header);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("%s %.6f %s\n", ResultName(result), seconds,
              DescribeFileResult(result, header).toUtf8().constData());
  return 0;
}
