// What saving promises beyond the pixels: checked arguments, honest errors, atomic
// replacement, and a good palette for GIF.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "fil/ltfil.h"

namespace {
ImageBitmap Gradient(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      image.setPixel(
          x, y, qRgb(x * 255 / (width - 1), y * 255 / (height - 1), 255 - x * 255 / (width - 1)));
  ImageBitmap bmp;
  SetBitmapImage(bmp, image);
  return bmp;
}

class FileSave : public ::testing::Test {
 protected:
  QString Path(const QString& name) const { return dir_.filePath(name); }
  QStringList Entries() const {
    return QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
  }
  QByteArray Read(const QString& path) const {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }
  QTemporaryDir dir_;
};
}  // namespace

TEST_F(FileSave, FormatsThatCannotBeWrittenLeaveNoFile) {
  const ImageBitmap bmp = Gradient(16, 8);
  for (int format = 0; format < 110; ++format) {
    const QString file = Path(QStringLiteral("x%1").arg(format));
    const int rc = SaveImageFile(file, bmp, format, 24, 20);
    if (FormatExtension(format).isEmpty()) {
      EXPECT_EQ(rc, ERROR_FORMAT_NOT_SUPPORTED) << format;
    } else if (!CanWriteFormat(format)) {
      EXPECT_EQ(rc, ERROR_FORMAT_NO_WRITER) << format;
    } else {
      EXPECT_EQ(rc, SUCCESS) << format;
      QFile::remove(file);
    }
    EXPECT_TRUE(Entries().isEmpty()) << format << ": " << Entries().join(' ').toStdString();
  }
  EXPECT_EQ(SaveImageFile(Path("x"), bmp, -1, 24, 20), ERROR_FORMAT_NOT_SUPPORTED);
}

TEST_F(FileSave, FailedSavesLeaveTheOldFileWhole) {
  const QString file = Path("photo.png");
  const ImageBitmap bmp = Gradient(40, 30);
  ASSERT_EQ(SaveImageFile(file, bmp, FILE_PNG, 24, 2), SUCCESS);
  const QByteArray old = Read(file);

  EXPECT_EQ(SaveImageFile(file, bmp, FILE_PNG, 16, 2), ERROR_BPP_NOT_SUPPORTED);
  EXPECT_EQ(SaveImageFile(file, ImageBitmap{}, FILE_PNG, 24, 2), ERROR_NO_BITMAP);
  EXPECT_EQ(SaveImageFileAs(file, bmp, FILE_PNG, 8, 2, 7), ERROR_INV_PARAMETER);
  EXPECT_EQ(SaveImageFile(file, bmp, FILE_JPEG, 24, 1), ERROR_INV_PARAMETER);
  EXPECT_EQ(SaveImageFile(file, bmp, FILE_JPEG, 24, 256), ERROR_INV_PARAMETER);
  EXPECT_EQ(SaveImageFile(file, Gradient(300, 20), FILE_ICO, 24, 2), ERROR_IMAGE_TOO_LARGE);
  EXPECT_EQ(SaveImageFile(file, bmp, FILE_EPS + 1000, 24, 2), ERROR_FORMAT_NOT_SUPPORTED);

  // Stopped half way: the temporary file existed and must be gone.
  const ProgressCallback previous = SetProgressCallback([](int) { return 0; });
  EXPECT_EQ(SaveImageFile(file, Gradient(400, 300), FILE_PNG, 24, 2), ERROR_USER_ABORT);
  SetProgressCallback(previous);

  EXPECT_EQ(Read(file), old);
  EXPECT_EQ(Entries(), QStringList{"photo.png"});
}

TEST_F(FileSave, UnwritableTargetsFailWithFileWrite) {
  const ImageBitmap bmp = Gradient(8, 8);
  EXPECT_EQ(SaveImageFile(Path("no/such/folder/a.png"), bmp, FILE_PNG, 24, 2), ERROR_FILE_WRITE);
  EXPECT_EQ(SaveImageFile(dir_.path(), bmp, FILE_PNG, 24, 2), ERROR_FILE_WRITE);
  ASSERT_EQ(SaveImageFile(Path("plain.png"), bmp, FILE_PNG, 24, 2), SUCCESS);
  EXPECT_EQ(SaveImageFile(Path("plain.png/inside.png"), bmp, FILE_PNG, 24, 2), ERROR_FILE_WRITE);
  EXPECT_EQ(SaveImageFile(QString(), bmp, FILE_PNG, 24, 2), ERROR_FILE_WRITE);
  EXPECT_EQ(Entries(), QStringList{"plain.png"});
  if (::geteuid() != 0) {  // root writes everything
    ::chmod(QFile::encodeName(Path("plain.png")).constData(), 0444);
    EXPECT_EQ(SaveImageFile(Path("plain.png"), bmp, FILE_PNG, 8, 2), ERROR_FILE_WRITE);
  }
}

TEST_F(FileSave, ReplacingKeepsPermissionsAndLinks) {
  const QString file = Path("private.bmp");
  ASSERT_EQ(SaveImageFile(file, Gradient(8, 8), FILE_BMP, 24, 2), SUCCESS);
  ASSERT_EQ(::chmod(QFile::encodeName(file).constData(), 0600), 0);
  ASSERT_EQ(SaveImageFile(file, Gradient(9, 9), FILE_BMP, 8, 2), SUCCESS);
  struct stat status {};
  ASSERT_EQ(::stat(QFile::encodeName(file).constData(), &status), 0);
  EXPECT_EQ(status.st_mode & 07777, 0600u);

  const QString link = Path("link.bmp");
  ASSERT_TRUE(QFile::link(file, link));
  ASSERT_EQ(SaveImageFile(link, Gradient(5, 5), FILE_BMP, 24, 2), SUCCESS);
  EXPECT_TRUE(QFileInfo(link).isSymLink());
  FileInfo info;
  ASSERT_EQ(GetImageFileInfo(file, info), SUCCESS);
  EXPECT_EQ(info.Width, 5);
}

TEST_F(FileSave, GifGetsAGoodPalette) {
  // A smooth gradient has thousands of colours: dithering over a well-chosen palette keeps
  // every neighbourhood's average colour close to the original.
  const ImageBitmap source = Gradient(256, 64);
  const QString file = Path("gradient.gif");
  ASSERT_EQ(SaveImageFile(file, source, FILE_GIF, 24, 2), SUCCESS);
  ImageBitmap back;
  ASSERT_EQ(LoadImageFile(file, back), SUCCESS);
  EXPECT_EQ(back.BitsPerPixel, 8);
  EXPECT_LE(back.Pixels.colorCount(), 256);
  double worst = 0, total = 0;
  for (int by = 0; by < 64; by += 8)
    for (int bx = 0; bx < 256; bx += 8) {
      int want[3] = {}, got[3] = {};
      for (int y = by; y < by + 8; ++y)
        for (int x = bx; x < bx + 8; ++x) {
          const QRgb a = source.Pixels.pixel(x, y), b = back.Pixels.pixel(x, y);
          want[0] += qRed(a), want[1] += qGreen(a), want[2] += qBlue(a);
          got[0] += qRed(b), got[1] += qGreen(b), got[2] += qBlue(b);
        }
      for (int c = 0; c < 3; ++c) {
        worst = std::max(worst, std::abs(want[c] - got[c]) / 64.0);
        total += std::abs(want[c] - got[c]) / 64.0;
      }
    }
  EXPECT_LT(worst, 6.0);
  EXPECT_LT(total / (8 * 32 * 3), 1.5);

  // 256 colours or fewer are kept exactly, however they are stored.
  QImage few(50, 20, QImage::Format_RGB32);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 50; ++x) few.setPixel(x, y, qRgb(x % 16 * 16, y % 16 * 16, 77));
  ImageBitmap fewBmp;
  SetBitmapImage(fewBmp, few);
  ASSERT_EQ(SaveImageFile(file, fewBmp, FILE_GIF, 24, 2), SUCCESS);
  ASSERT_EQ(LoadImageFile(file, back), SUCCESS);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 50; ++x)
      ASSERT_EQ(back.Pixels.pixel(x, y), few.pixel(x, y)) << x << "," << y;
}

TEST_F(FileSave, PaletteDepthsAndCalsDithering) {
  const ImageBitmap source = Gradient(64, 16);
  const QString file = Path("depth.bmp");
  for (int bits : {1, 4, 8}) {
    for (int option : {1, 2}) {
      ASSERT_EQ(SaveImageFileAs(file, source, FILE_BMP, bits, 2, option), SUCCESS);
      ImageBitmap back;
      ASSERT_EQ(LoadImageFile(file, back), SUCCESS);
      EXPECT_EQ(back.BitsPerPixel, bits);
      EXPECT_LE(back.Pixels.colorCount(), 1 << bits);
    }
  }
  // CALS holds black and white only: the gradient is dithered, not cut at a threshold.
  ASSERT_EQ(SaveImageFile(Path("fax.cal"), source, FILE_CALS, 24, 2), SUCCESS);
  ImageBitmap fax;
  ASSERT_EQ(LoadImageFile(Path("fax.cal"), fax), SUCCESS);
  EXPECT_EQ(fax.BitsPerPixel, 1);
  int white = 0;
  for (int x = 0; x < 64; ++x) white += qRed(fax.Pixels.pixel(x, 8)) == 255;
  EXPECT_GT(white, 10);
  EXPECT_LT(white, 54);
}
