// Reading headers and thumbnails: GetImageFileInfo on one large photo, and decoding
// a folder of 100-pixel thumbnails together with their descriptions.
#include <chrono>
#include <cstdio>

#include <QDir>

#include "fil/ltfil.h"

namespace {
double Seconds(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double>(d).count();
}
}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s LARGE.jpg THUMBNAIL-FOLDER\n", argv[0]);
    return 2;
  }
  const QString large = QString::fromLocal8Bit(argv[1]);
  const QString folder = QString::fromLocal8Bit(argv[2]) + "/";

  constexpr int kInfoRuns = 1000;
  FileInfo info;
  auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < kInfoRuns; ++i) {
    if (GetImageFileInfo(large, info) != SUCCESS) return 1;
  }
  const double infoSeconds = Seconds(std::chrono::steady_clock::now() - start) / kInfoRuns;
  std::printf("info_ms %.4f %dx%d\n", infoSeconds * 1000, info.Width, info.Height);

  const QStringList names = QDir(folder).entryList({"*.jpg"}, QDir::Files, QDir::Name);
  int described = 0;
  start = std::chrono::steady_clock::now();
  for (const QString& name : names) {
    ImageBitmap bmp;
    QString description;
    if (LoadImageFile(folder + name, bmp) != SUCCESS) return 1;
    if (ReadFileComment(folder + name, COMMENT_DESCRIPTION, &description) > 0) ++described;
  }
  const double thumbSeconds = Seconds(std::chrono::steady_clock::now() - start);
  std::printf("thumbs_s %.4f %lld %d\n", thumbSeconds, static_cast<long long>(names.size()),
              described);
  return 0;
}
