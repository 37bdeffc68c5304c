// Damaged, cut short and foreign files: every readable format must fail cleanly.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include "fil/ltfil.h"

namespace {
void PutLe16(QByteArray& out, int value) {
  out.append(char(value & 0xFF));
  out.append(char((value >> 8) & 0xFF));
}
void PutLe32(QByteArray& out, qint64 value) {
  PutLe16(out, int(value & 0xFFFF));
  PutLe16(out, int((value >> 16) & 0xFFFF));
}

// MacPaint: a 512-byte header, then 720 rows of 72 bytes, each packed as one literal run.
QByteArray MacPaintFile() {
  QByteArray out(512, '\0');
  for (int y = 0; y < 720; ++y) {
    out.append(char(71));
    for (int x = 0; x < 72; ++x) out.append(char((x + y) % 3 == 0 ? 0xF0 : 0x0F));
  }
  return out;
}

// DICOM, explicit VR little endian: an 8-bit grey picture of width x height.
QByteArray DicomFile(int width, int height) {
  QByteArray out(128, '\0');
  out.append("DICM");
  const auto element = [&out](int group, int tag, const char* vr, const QByteArray& value) {
    PutLe16(out, group);
    PutLe16(out, tag);
    out.append(vr, 2);
    const bool longForm = qstrcmp(vr, "OB") == 0 || qstrcmp(vr, "OW") == 0;
    if (longForm) {
      PutLe16(out, 0);
      PutLe32(out, value.size());
    } else {
      PutLe16(out, int(value.size()));
    }
    out.append(value);
  };
  const auto us = [](int v) {
    QByteArray b;
    PutLe16(b, v);
    return b;
  };
  QByteArray syntax("1.2.840.10008.1.2.1");
  syntax.append('\0');
  QByteArray groupLength;
  PutLe32(groupLength, 8 + syntax.size());
  element(0x0002, 0x0000, "UL", groupLength);
  element(0x0002, 0x0010, "UI", syntax);
  element(0x0028, 0x0002, "US", us(1));
  element(0x0028, 0x0004, "CS", QByteArray("MONOCHROME2 "));
  element(0x0028, 0x0010, "US", us(height));
  element(0x0028, 0x0011, "US", us(width));
  element(0x0028, 0x0100, "US", us(8));
  element(0x0028, 0x0101, "US", us(8));
  element(0x0028, 0x0102, "US", us(7));
  element(0x0028, 0x0103, "US", us(0));
  QByteArray pixels;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) pixels.append(char((x * 4 + y * 2) & 0xFF));
  element(0x7FE0, 0x0010, "OB", pixels);
  return out;
}

// A placeable Windows metafile: one inch square, a filled rectangle.
QByteArray WmfFile() {
  QByteArray records;
  const auto record = [&records](int function, std::initializer_list<int> params) {
    PutLe32(records, 3 + qint64(params.size()));
    PutLe16(records, function);
    for (int p : params) PutLe16(records, p);
  };
  record(0x020B, {0, 0});                  // SetWindowOrg
  record(0x020C, {1440, 1440});            // SetWindowExt
  record(0x02FC, {0, 0x00FF, 0x0000, 0});  // CreateBrushIndirect: solid red
  record(0x012D, {0});                     // SelectObject
  record(0x041B, {1200, 1200, 200, 200});  // Rectangle
  record(0x0000, {});                      // EOF
  QByteArray out;
  PutLe32(out, 0x9AC6CDD7);
  PutLe16(out, 0);
  for (int v : {0, 0, 1440, 1440}) PutLe16(out, v);
  PutLe16(out, 1440);
  PutLe32(out, 0);
  quint16 checksum = 0;
  for (int i = 0; i < 20; i += 2) checksum ^= quint16(uchar(out[i]) | uchar(out[i + 1]) << 8);
  PutLe16(out, checksum);
  const qint64 words = (18 + records.size()) / 2;
  PutLe16(out, 1);
  PutLe16(out, 9);
  PutLe16(out, 0x0300);
  PutLe32(out, words);
  PutLe16(out, 1);
  PutLe32(out, 7);
  PutLe16(out, 0);
  out.append(records);
  return out;
}

// WordPerfect Graphics 1: a one-bit bitmap record, every row a literal run.
QByteArray WpgFile(int width, int height) {
  QByteArray out("\xFFWPC", 4);
  PutLe32(out, 16);
  out.append("\x01\x16\x01\x00\x00\x00\x00\x00", 8);
  const auto record = [&out](int type, const QByteArray& data) {
    out.append(char(type));
    if (data.size() < 0xFF) {
      out.append(char(data.size()));
    } else {
      out.append(char(0xFF));
      PutLe16(out, int(data.size()));
    }
    out.append(data);
  };
  QByteArray start("\x01\x00", 2);
  PutLe16(start, width * 1200 / 75);
  PutLe16(start, height * 1200 / 75);
  record(0x0F, start);
  QByteArray bitmap;
  for (int v : {width, height, 1, 75, 75}) PutLe16(bitmap, v);
  const int rowBytes = (width + 7) / 8;
  for (int y = 0; y < height; ++y) {
    bitmap.append(char(rowBytes));
    for (int x = 0; x < rowBytes; ++x) bitmap.append(char(y % 2 ? 0xAA : 0x55));
  }
  record(0x0B, bitmap);
  record(0x10, QByteArray());
  return out;
}

// Noise, so that compressed formats keep their size and a cut lands in pixel data.
ImageBitmap NoisyPicture(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  QRandomGenerator random(7);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) image.setPixel(x, y, random.generate() | 0xFF000000u);
  ImageBitmap bmp;
  SetBitmapImage(bmp, image);
  return bmp;
}

class FileDamage : public ::testing::Test {
 protected:
  QString Path(const QString& name) const { return dir_.filePath(name); }
  QString Write(const QString& name, const QByteArray& bytes) const {
    QFile file(Path(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return file.fileName();
  }
  QByteArray Read(const QString& path) const {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
  }

  // One whole sample file of every readable format, by its extension.
  std::vector<std::pair<QString, QByteArray>> Samples() {
    std::vector<std::pair<QString, QByteArray>> samples;
    const ImageBitmap noisy = NoisyPicture(64, 48);
    for (int format :
         {FILE_PNG, FILE_BMP, FILE_TIF, FILE_TGA, FILE_RAS, FILE_ICO, FILE_CUR, FILE_PCX, FILE_GIF,
          FILE_PCT, FILE_PSD, FILE_CALS, FILE_JPEG, FILE_MSP, FILE_GEM_IMG}) {
      const QString path = Path(QStringLiteral("whole.%1").arg(FormatExtension(format)));
      EXPECT_EQ(SaveImageFile(path, noisy, format, 24, 20), SUCCESS) << format;
      samples.emplace_back(FormatExtension(format), Read(path));
      QFile::remove(path);
    }
    samples.emplace_back("mac", MacPaintFile());
    samples.emplace_back("dic", DicomFile(40, 30));
    samples.emplace_back("wmf", WmfFile());
    samples.emplace_back("wpg", WpgFile(64, 32));
    return samples;
  }

  QTemporaryDir dir_;
};
}  // namespace

TEST_F(FileDamage, ReadOnlyFormatsLoad) {
  struct Case {
    QString Name;
    QByteArray Bytes;
    int Format, Width, Height;
  };
  for (const Case& c : {Case{"paint.mac", MacPaintFile(), FILE_MAC, 576, 720},
                        Case{"drawing.wmf", WmfFile(), FILE_WMF, 0, 0},
                        Case{"graphic.wpg", WpgFile(64, 32), FILE_WPG, 64, 32}}) {
    SCOPED_TRACE(c.Name.toStdString());
    const QString file = Write(c.Name, c.Bytes);
    FileInfo info;
    ASSERT_EQ(GetImageFileInfo(file, info), SUCCESS);
    EXPECT_EQ(info.Format, c.Format);
    ImageBitmap bmp;
    ASSERT_EQ(LoadImageFile(file, bmp), SUCCESS);
    if (c.Width > 0) {
      EXPECT_EQ(bmp.Width, c.Width);
      EXPECT_EQ(bmp.Height, c.Height);
    }
    EXPECT_EQ(info.Width, bmp.Width);
    EXPECT_EQ(info.Height, bmp.Height);
    EXPECT_EQ(info.BitsPerPixel, bmp.BitsPerPixel);
  }
}

TEST_F(FileDamage, CutShortFilesFailAtEveryCut) {
  for (const auto& [extension, whole] : Samples()) {
    const qsizetype n = whole.size();
    for (qsizetype cut : {qsizetype(1), qsizetype(4), qsizetype(12), qsizetype(30), qsizetype(60),
                          n / 4, n / 2, n * 3 / 4, n * 9 / 10}) {
      if (cut <= 0 || cut >= n) continue;
      SCOPED_TRACE((extension + " cut at " + QString::number(cut) + " of " + QString::number(n))
                       .toStdString());
      const QString file = Write("cut." + extension, whole.left(cut));
      ImageBitmap bmp;
      const int loaded = LoadPictureFile(file, bmp);
      EXPECT_LT(loaded, 0) << ResultName(loaded);
      EXPECT_FALSE(bmp.hasPixels());
      // Header reading sees a cut in the header, and a cut that leaves less than the
      // header declares.
      FileInfo info;
      const int read = GetImageFileInfo(file, info);
      if (cut <= 12) {
        EXPECT_LT(read, 0) << ResultName(read);
      }
    }
  }
}

TEST_F(FileDamage, GarbageAndScrambledFilesNeverCrash) {
  QRandomGenerator random(11);
  for (const auto& [extension, whole] : Samples()) {
    SCOPED_TRACE(extension.toStdString());
    QByteArray garbage(4096, '\0');
    for (char& c : garbage) c = char(random.bounded(256));
    ImageBitmap bmp;
    EXPECT_EQ(LoadPictureFile(Write("garbage." + extension, garbage), bmp), ERROR_FILE_FORMAT);
    // The header kept, bytes of the body changed: any result but a crash, and success
    // only with a whole picture.
    for (int round = 0; round < 8; ++round) {
      QByteArray scrambled = whole;
      for (int i = 0; i < 16; ++i) {
        const qsizetype at = 16 + random.bounded(scrambled.size() - 16);
        scrambled[at] = char(random.bounded(256));
      }
      const QString file = Write("scrambled." + extension, scrambled);
      ImageBitmap loaded;
      if (LoadPictureFile(file, loaded) == SUCCESS) {
        EXPECT_TRUE(loaded.hasPixels());
        EXPECT_EQ(loaded.Pixels.size(), QSize(loaded.Width, loaded.Height));
      } else {
        EXPECT_FALSE(loaded.hasPixels());
      }
    }
  }
}

TEST_F(FileDamage, AccessErrorsHaveTheirCodes) {
  ImageBitmap bmp;
  EXPECT_EQ(LoadPictureFile(Path("missing.png"), bmp), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(LoadPictureFile(Path("missing/inside.png"), bmp), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(LoadPictureFile(dir_.path(), bmp), ERROR_FILE_OPEN);
  EXPECT_EQ(LoadPictureFile(Write("empty.png", QByteArray()), bmp), ERROR_FILE_FORMAT);
  EXPECT_EQ(LoadPictureFile(Write("text.png", "just some words"), bmp), ERROR_FILE_FORMAT);
  // A FIFO must not block the reader waiting for a writer.
  const QString fifo = Path("pipe.png");
  ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  EXPECT_EQ(LoadPictureFile(fifo, bmp), ERROR_FILE_OPEN);
  FileInfo info;
  EXPECT_EQ(GetImageFileInfo(Path("missing.png"), info), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(ReadFileComment(Path("missing.png"), COMMENT_DESCRIPTION, nullptr),
            ERROR_FILE_NOT_FOUND);

  if (::geteuid() != 0) {  // root reads everything
    const QString locked = Write("locked.png", MacPaintFile());
    ::chmod(QFile::encodeName(locked).constData(), 0);
    EXPECT_EQ(LoadPictureFile(locked, bmp), ERROR_FILE_OPEN);
  }
}

TEST_F(FileDamage, FailedLoadsLeaveTheBitmapAlone) {
  const QString cut = Write("cut.bmp", Samples().at(1).second.left(500));
  ImageBitmap bmp;
  ASSERT_EQ(CreateBitmap(bmp, 1, 5, 4, 24, ColorOrder::Bgr, nullptr, TopLeft), SUCCESS);
  FillBitmap(bmp, qRgb(10, 20, 30));
  EXPECT_EQ(LoadBitmapFile(cut, bmp), ERROR_FILE_CORRUPT);
  EXPECT_EQ(LoadImageFile(cut, bmp), ERROR_FILE_CORRUPT);
  EXPECT_EQ(bmp.Pixels.size(), QSize(5, 4));
  EXPECT_EQ(bmp.Pixels.pixel(4, 3), qRgb(10, 20, 30));
  EXPECT_EQ(LoadPictureFile(cut, bmp), ERROR_FILE_CORRUPT);
  EXPECT_TRUE(bmp.isEmpty());
  EXPECT_FALSE(bmp.hasPixels());
}

TEST_F(FileDamage, HeadersThatLieAboutTheirSizeAreCorrupt) {
  // A BMP header claiming 50000 x 50000 pixels in a file of a few bytes must not make
  // anything allocate gigabytes.
  QByteArray bmp = Samples().at(1).second;
  bmp[18] = char(0x50), bmp[19] = char(0xC3), bmp[20] = 0, bmp[21] = 0;
  bmp[22] = char(0x50), bmp[23] = char(0xC3), bmp[24] = 0, bmp[25] = 0;
  const QString file = Write("huge.bmp", bmp);
  FileInfo info;
  EXPECT_EQ(GetImageFileInfo(file, info), ERROR_FILE_CORRUPT);
  ImageBitmap loaded;
  EXPECT_EQ(LoadPictureFile(file, loaded), ERROR_FILE_CORRUPT);
}
