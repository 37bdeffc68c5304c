// Saving and loading again in every format this build writes.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cmath>
#include <map>

#include "fil/ltfil.h"

namespace {
// A picture of the given depth whose colours fill that depth: black and white, 16 and
// 256 distinct colours, many colours, and colours with every level of alpha on every
// other pixel. Smooth pictures change slowly, for lossy formats.
ImageBitmap MakePicture(int bits, bool smooth = false, int width = 37, int height = 23) {
  QImage image;
  if (bits <= 8) {
    image = QImage(width, height, QImage::Format_Indexed8);
    const int n = 1 << bits;
    QList<QRgb> palette;
    for (int i = 0; i < n; ++i) {
      const int level = i * 255 / (n - 1);
      palette.append(smooth      ? qRgb(level, 128, 255 - level)
                     : bits == 1 ? qRgb(level, level, level)
                                 : qRgb(level, (i * 7) & 255, (i * 53) & 255));
    }
    image.setColorTable(palette);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        image.setPixel(x, y, uint(smooth ? x * n / width : (x * 13 + y * 29) % n));
  } else {
    image = QImage(width, height, bits == 32 ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) {
        const int alpha = bits == 32 && (x + y) % 2 ? (x * 11 + y * 3) & 255 : 255;
        image.setPixel(x, y,
                       smooth ? qRgba(x * 6, y * 10, 100, alpha)
                              : qRgba((x * 5) & 255, (y * 7) & 255, (x * y) & 255, alpha));
      }
  }
  ImageBitmap bmp;
  EXPECT_EQ(SetBitmapImage(bmp, image), SUCCESS);
  bmp.BitsPerPixel = bits;
  return bmp;
}

struct Expectation {
  int Format;
  std::map<int, int> LoadedBits;  // asked depth -> depth the file loads at
  bool Lossless = true;
  bool KeepsAlpha = false;
};

// What each format makes of each depth, as its files can hold it.
const std::vector<Expectation>& Expectations() {
  static const std::vector<Expectation> table = {
      {FILE_PNG, {{1, 1}, {4, 4}, {8, 8}, {24, 24}, {32, 32}}, true, true},
      {FILE_BMP, {{1, 1}, {4, 4}, {8, 8}, {24, 24}, {32, 32}}, true, true},
      {FILE_TIF, {{1, 1}, {4, 4}, {8, 8}, {24, 24}, {32, 32}}, true, true},
      {FILE_TGA, {{1, 8}, {4, 4}, {8, 8}, {24, 24}, {32, 32}}, true, true},
      {FILE_RAS, {{1, 1}, {4, 4}, {8, 8}, {24, 24}, {32, 32}}, true, true},
      {FILE_ICO, {{1, 1}, {4, 4}, {8, 8}, {24, 24}, {32, 32}}, true, true},
      {FILE_CUR, {{1, 1}, {4, 4}, {8, 8}, {24, 24}, {32, 32}}, true, true},
      {FILE_PCX, {{1, 1}, {4, 8}, {8, 8}, {24, 24}, {32, 24}}, true, false},
      {FILE_GIF, {{1, 8}, {4, 8}, {8, 8}, {24, 8}, {32, 8}}, true, false},
      {FILE_PCT, {{1, 24}, {4, 24}, {8, 24}, {24, 24}, {32, 24}}, true, false},
      {FILE_PSD, {{1, 8}, {4, 24}, {8, 24}, {24, 24}, {32, 24}}, true, false},
      {FILE_CALS, {{1, 1}, {4, 1}, {8, 1}, {24, 1}, {32, 1}}, true, false},
      {FILE_MSP, {{1, 1}, {4, 1}, {8, 1}, {24, 1}, {32, 1}}, true, false},
      {FILE_GEM_IMG, {{1, 1}, {4, 1}, {8, 1}, {24, 1}, {32, 1}}, true, false},
      {FILE_JPEG, {{1, 24}, {4, 24}, {8, 8}, {24, 24}, {32, 24}}, false, false},
      {FILE_JPEG_411, {{1, 24}, {4, 24}, {8, 8}, {24, 24}, {32, 24}}, false, false},
  };
  return table;
}

QRgb Pixel(const ImageBitmap& bmp, int x, int y) { return bmp.Pixels.pixel(x, y); }

int Grey(QRgb c) { return (qRed(c) * 77 + qGreen(c) * 150 + qBlue(c) * 29) >> 8; }

// Mean difference per channel over the opaque pixels of a, in grey when asked.
double MeanDifference(const ImageBitmap& a, const ImageBitmap& b, bool grey = false) {
  double sum = 0;
  int count = 0;
  for (int y = 0; y < a.Height; ++y)
    for (int x = 0; x < a.Width; ++x) {
      const QRgb p = Pixel(a, x, y), q = Pixel(b, x, y);
      if (qAlpha(p) != 255) continue;
      ++count;
      sum += grey ? std::abs(Grey(p) - qRed(q))
                  : (std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                     std::abs(qBlue(p) - qBlue(q))) /
                        3.0;
    }
  return sum / count;
}

double MeanGrey(const ImageBitmap& bmp) {
  double sum = 0;
  for (int y = 0; y < bmp.Height; ++y)
    for (int x = 0; x < bmp.Width; ++x) sum += Grey(Pixel(bmp, x, y));
  return sum / (bmp.Width * bmp.Height);
}

// Pixels that differ: alpha counts where the format keeps it, colour only where the
// pixel is visible.
int DifferentPixels(const ImageBitmap& want, const ImageBitmap& got, bool alpha) {
  int wrong = 0;
  for (int y = 0; y < want.Height; ++y)
    for (int x = 0; x < want.Width; ++x) {
      const QRgb w = Pixel(want, x, y), g = Pixel(got, x, y);
      if (alpha && qAlpha(w) != qAlpha(g))
        ++wrong;
      else if ((!alpha || qAlpha(w) != 0) && (w & 0xFFFFFF) != (g & 0xFFFFFF))
        ++wrong;
    }
  return wrong;
}

class FileRoundTrip : public ::testing::Test {
 protected:
  QString Path(const QString& name) const { return dir_.filePath(name); }
  QTemporaryDir dir_;
};
}  // namespace

TEST_F(FileRoundTrip, EveryWritableFormatAtEveryDepth) {
  for (const Expectation& e : Expectations()) {
    if (!CanWriteFormat(e.Format)) {
      ADD_FAILURE() << FormatName(e.Format).toStdString() << " is expected to be writable";
      continue;
    }
    for (const auto& [asked, loaded] : e.LoadedBits) {
      SCOPED_TRACE(FormatName(e.Format).toStdString() + " at " + std::to_string(asked));
      const ImageBitmap source = MakePicture(asked, !e.Lossless);
      const QString file =
          Path(QStringLiteral("p%1_%2.%3").arg(e.Format).arg(asked).arg(FormatExtension(e.Format)));
      const int saved = SaveImageFile(file, source, e.Format, asked, 2);
      EXPECT_EQ(saved, SUCCESS);
      if (saved != SUCCESS) continue;

      FileInfo info;
      EXPECT_EQ(GetImageFileInfo(file, info), SUCCESS);
      EXPECT_EQ(info.Format, e.Format == FILE_JPEG_411 ? FILE_JPEG : e.Format);
      EXPECT_EQ(info.Width, source.Width);
      EXPECT_EQ(info.Height, source.Height);
      EXPECT_EQ(info.SizeDisk, QFileInfo(file).size());

      ImageBitmap back;
      EXPECT_EQ(LoadImageFile(file, back), SUCCESS);
      if (back.Pixels.size() != source.Pixels.size()) {
        ADD_FAILURE() << "loaded at another size";
        continue;
      }
      EXPECT_EQ(back.BitsPerPixel, loaded);
      EXPECT_EQ(info.BitsPerPixel, back.BitsPerPixel);

      const bool reduced = asked > 8 && loaded <= 8;
      if (!e.Lossless) {
        EXPECT_LT(MeanDifference(source, back, loaded == 8), 6);
      } else if (e.LoadedBits.at(32) == 1 && asked > 1) {
        // Dithered: single pixels differ, the brightness overall stays.
        EXPECT_NEAR(MeanGrey(source), MeanGrey(back), 8);
      } else if (reduced) {
        EXPECT_LT(MeanDifference(source, back), 12);
      } else if (asked == 32 && !e.KeepsAlpha) {
        ImageBitmap flat = source;
        flat.Pixels = source.Pixels.convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(DifferentPixels(flat, back, false), 0);
      } else {
        EXPECT_EQ(DifferentPixels(source, back, asked == 32), 0);
      }
    }
  }
}

TEST_F(FileRoundTrip, PostScriptIsWrittenForPrinters) {
  // Nothing here reads PostScript back; the file must be what a level 1 printer takes.
  const struct {
    int Asked;
    const char* Operator;
    int RowHex;
  } cases[] = {{1, "\nimage\n", 10}, {8, "\nimage\n", 74}, {24, "false 3 colorimage\n", 222}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Asked);
    ImageBitmap source = c.Asked == 8 ? MakePicture(1) : MakePicture(24);
    source.XResolution = source.YResolution = 144;
    const QString file = Path("page.eps");
    ASSERT_EQ(SaveImageFile(file, source, FILE_EPS, c.Asked, 2), SUCCESS);
    QFile eps(file);
    ASSERT_TRUE(eps.open(QIODevice::ReadOnly));
    const QByteArray text = eps.readAll();
    EXPECT_TRUE(text.startsWith("%!PS-Adobe-3.0 EPSF-3.0\n"));
    EXPECT_TRUE(text.contains("%%BoundingBox: 0 0 19 12\n"));  // 37 x 23 pixels at 144 dpi
    EXPECT_TRUE(text.contains(c.Operator));
    EXPECT_TRUE(text.endsWith("%%EOF\n"));
    const qsizetype start = text.indexOf(c.Operator) + qstrlen(c.Operator);
    const qsizetype end = text.indexOf("grestore");
    const QByteArray hex = text.mid(start, end - start).replace("\n", "");
    EXPECT_EQ(hex.size(), qsizetype(c.RowHex) * 23);
    EXPECT_EQ(hex.count('0') + hex.count('f') > 0, true);
    FileInfo info;
    EXPECT_EQ(GetImageFileInfo(file, info), ERROR_FORMAT_NO_READER);
  }
}
