// A stitched panorama of 20000 x 8000 pixels, beyond the system's Magick limits, in
// every format that allows that size. Named "Large" so quick runs can leave it out.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <chrono>

#include "fil/MagickRuntime.h"
#include "fil/ltfil.h"

namespace {
constexpr int kWidth = 20000;
constexpr int kHeight = 8000;

// Bands of a few colours: quick to compress, and every format keeps them exactly.
const ImageBitmap& Panorama() {
  static const ImageBitmap bmp = [] {
    ImageBitmap out;
    CreateBitmap(out, 1, kWidth, kHeight, 24, ColorOrder::Bgr, nullptr, TopLeft);
    const QRgb colours[] = {qRgb(250, 250, 250), qRgb(30, 90, 200), qRgb(20, 140, 40),
                            qRgb(0, 0, 0)};
    for (int y = 0; y < kHeight; ++y) {
      auto* row = reinterpret_cast<QRgb*>(out.Pixels.scanLine(y));
      std::fill(row, row + kWidth, colours[y * 4 / kHeight]);
    }
    return out;
  }();
  return bmp;
}

void ExpectPanorama(const ImageBitmap& back) {
  ASSERT_EQ(back.Pixels.size(), QSize(kWidth, kHeight));
  for (int band = 0; band < 4; ++band) {
    const int y = band * kHeight / 4 + kHeight / 8;
    for (int x : {0, kWidth / 2, kWidth - 1})
      EXPECT_EQ(back.Pixels.pixel(x, y) | 0xFF000000u, Panorama().Pixels.pixel(x, y))
          << x << "," << y;
  }
}
}  // namespace

TEST(LargePicture, OurMagickPolicyLiftsTheSystemLimits) {
  EXPECT_FALSE(MagickPolicyFolder().isEmpty());
  EXPECT_TRUE(MagickAllowsSize(kWidth, kHeight));
}

// Formats that take more than a few seconds at this size (zlib for PNG, Magick's GIF,
// TARGA and PSD writers, its PCX reader, its CALS writer a minute and more) run only
// when BRIVANE_LARGE_ALL is set.
std::vector<int> PanoramaFormats() {
  std::vector<int> formats = {FILE_JPEG, FILE_BMP, FILE_TIF, FILE_RAS, FILE_MSP, FILE_GEM_IMG};
  if (qEnvironmentVariableIsSet("BRIVANE_LARGE_ALL"))
    formats.insert(formats.end(), {FILE_PNG, FILE_PSD, FILE_GIF, FILE_TGA, FILE_PCX, FILE_CALS});
  return formats;
}

TEST(LargePicture, PanoramaInEveryFormatThatHoldsIt) {
  QTemporaryDir dir;
  for (int format : PanoramaFormats()) {
    SCOPED_TRACE(FormatName(format).toStdString());
    const QString file = dir.filePath("panorama." + FormatExtension(format));
    const bool blackAndWhite = format == FILE_CALS || format == FILE_MSP || format == FILE_GEM_IMG;
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(SaveImageFile(file, Panorama(), format, blackAndWhite ? 1 : 24, 20), SUCCESS);
    const auto saved = std::chrono::steady_clock::now();
    FileInfo info;
    ASSERT_EQ(GetImageFileInfo(file, info), SUCCESS);
    EXPECT_EQ(info.Width, kWidth);
    EXPECT_EQ(info.Height, kHeight);
    ImageBitmap back;
    ASSERT_EQ(LoadPictureFile(file, back), SUCCESS);
    if (!blackAndWhite) ExpectPanorama(back);
    const auto loaded = std::chrono::steady_clock::now();
    std::printf("%-12s save %.1f s, load %.1f s\n", FormatName(format).toStdString().c_str(),
                std::chrono::duration<double>(saved - start).count(),
                std::chrono::duration<double>(loaded - saved).count());
    QFile::remove(file);
  }
}

TEST(LargePicture, FormatsTooSmallForItRefuseIt) {
  QTemporaryDir dir;
  for (int format : {FILE_ICO, FILE_CUR, FILE_PCT})
    EXPECT_EQ(SaveImageFile(dir.filePath("big"), Panorama(), format, 24, 20),
              ERROR_IMAGE_TOO_LARGE);
  EXPECT_TRUE(QDir(dir.path()).isEmpty());
}
