// Small files that declare huge pictures (decompression bombs), in every format with a
// reader here: each is refused from its header, before anything is set aside for the
// pixels, while flat pictures of a sensible size still load.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include <QFile>
#include <QTemporaryDir>
#include <vector>

#include "fil/ltfil.h"
#include "krn/PictureLimits.h"
#include "support/BombFiles.h"

namespace {
void PutLe16s(QByteArray& out, std::initializer_list<quint32> values) {
  for (quint32 value : values) PutLe16(out, value);
}
void PutBe32s(QByteArray& out, std::initializer_list<quint32> values) {
  for (quint32 value : values) PutBe32(out, value);
}

QByteArray Gif(quint32 width, quint32 height, int codeBytes) {
  QByteArray out = "GIF89a";
  PutLe16s(out, {width, height});
  out += QByteArray(3, '\0');  // no colour table
  out += char(0x2C);
  PutLe16s(out, {0, 0, width, height});
  out += QByteArray("\x00\x02", 2);  // no colour table; codes start at three bits
  out += char(codeBytes) + QByteArray(codeBytes, char(0x55));
  return out + QByteArray("\x00\x3B", 2);
}

QByteArray TgaRunLength(quint32 width, quint32 height) {
  QByteArray out("\x00\x00\x0A", 3);
  out += QByteArray(9, '\0');
  PutLe16s(out, {width, height});
  out += QByteArray("\x18\x20", 2);                                      // 24 bits, top-down
  for (int i = 0; i < 4; ++i) out += QByteArray("\xFF\x10\x20\x30", 4);  // 128 pixels each
  return out;
}

QByteArray Pcx(quint32 width, quint32 height) {
  QByteArray out("\x0A\x05\x01\x08", 4);
  PutLe16s(out, {0, 0, width - 1, height - 1, 72, 72});
  out += QByteArray(49, '\0');
  out += char(1);  // planes
  PutLe16s(out, {width, 1});
  out += QByteArray(128 - out.size(), '\0');
  for (int i = 0; i < 10; ++i) out += QByteArray("\xFF\x00", 2);  // 63 bytes each
  return out;
}

QByteArray SunRunLength(quint32 width, quint32 height) {
  QByteArray out("\x59\xA6\x6A\x95", 4);
  PutBe32s(out, {width, height, 8, 30, 2, 0, 0});  // depth, length, byte-encoded, no map
  for (int i = 0; i < 10; ++i) out += QByteArray("\x80\xFF\x00", 3);  // 256 bytes each
  return out;
}

// Every row of every channel packed as one run of 128 bytes: far short of a row.
QByteArray PsdRunLength(quint32 width, quint32 height) {
  QByteArray out = "8BPS";
  PutBe16(out, 1);
  out += QByteArray(6, '\0');
  PutBe16(out, 3);
  PutBe32s(out, {height, width});
  PutBe16(out, 8);
  PutBe16(out, 3);
  PutBe32s(out, {0, 0, 0});  // no colour data, resources or layers
  PutBe16(out, 1);
  for (quint32 row = 0; row < 3 * height; ++row) PutBe16(out, 2);
  for (quint32 row = 0; row < 3 * height; ++row) out += QByteArray("\x81\x00", 2);
  return out;
}

// One strip of coded grey (or, for fax coding, black and white) data.
QByteArray Tiff(quint32 width, quint32 height, quint32 compression, const QByteArray& strip) {
  const bool fax = compression == 3 || compression == 4;
  constexpr quint32 kEntries = 9, kStripAt = 8 + 2 + kEntries * 12 + 4;
  constexpr quint32 kShort = 3, kLong = 4;
  const quint32 entries[kEntries][3] = {
      {256, kLong, width},        {257, kLong, height}, {258, kShort, fax ? 1u : 8u},
      {259, kShort, compression}, {262, kShort, 0},     {273, kLong, kStripAt},
      {277, kShort, 1},           {278, kLong, height}, {279, kLong, quint32(strip.size())}};
  QByteArray out("II*\x00", 4);
  PutLe32(out, 8);
  PutLe16(out, kEntries);
  for (const auto& [tag, type, value] : entries) {
    PutLe16s(out, {tag, type});
    PutLe32(out, 1);
    PutLe32(out, value);  // a short sits in the first two bytes, little-endian
  }
  PutLe32(out, 0);
  return out + strip;
}

QByteArray MspPlain(quint32 width, quint32 height, int dataBytes) {
  QByteArray out("DanM");
  PutLe16s(out, {width, height, 1, 1, 1, 1, width, height, 0, 0, 0});
  return out + QByteArray(32 - out.size() + dataBytes, '\0');
}

QByteArray IconHolding(const QByteArray& png) {
  QByteArray out;
  PutLe16s(out, {0, 1, 1});
  out += QByteArray(4, '\0');  // 256 x 256, no palette
  PutLe16s(out, {1, 32});
  PutLe32(out, quint32(png.size()));
  PutLe32(out, 22);
  return out + png;
}

QByteArray BmpRunLengthEndingAtOnce(quint32 width, quint32 height) {
  constexpr quint32 kPixelsAt = 14 + 40 + 1024;
  QByteArray out = "BM";
  for (quint32 value : {kPixelsAt + 2, 0u, kPixelsAt, 40u, width, height}) PutLe32(out, value);
  PutLe16s(out, {1, 8});
  for (quint32 value : {1u, 2u, 2835u, 2835u, 256u, 0u}) PutLe32(out, value);  // RLE8
  for (quint32 i = 0; i < 256; ++i) PutLe32(out, i * 0x010101);
  return out + QByteArray("\x00\x01", 2);  // end of the bitmap
}

struct Bomb {
  QString Name;  // with the extension that names the format where there is no signature
  QByteArray Bytes;
  int Width;
  int Height;
};

class FileBomb : public ::testing::Test {
 protected:
  QString Write(const Bomb& bomb) const {
    const QString path = dir_.filePath(bomb.Name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bomb.Bytes);
    return path;
  }

  // Every way in refuses with `expected` before decoding begins (decoding reports
  // progress, and is stopped at its first report), leaves a loaded bitmap alone, and the
  // header reading names the declared size when the picture is too large.
  void ExpectRefused(const Bomb& bomb, int expected) {
    SCOPED_TRACE(bomb.Name.toStdString() + ", " + std::to_string(bomb.Bytes.size()) + " bytes");
    const QString file = Write(bomb);
    int reports = 0;
    const ProgressCallback previous = SetProgressCallback([&reports](int) {
      ++reports;
      return 0;
    });
    FileInfo info;
    EXPECT_EQ(GetImageFileInfo(file, info), expected);
    if (expected == ERROR_IMAGE_TOO_LARGE) {
      EXPECT_EQ(info.Width, bomb.Width);
      EXPECT_EQ(info.Height, bomb.Height);
      EXPECT_EQ(DescribeFileResult(expected, info),
                QStringLiteral("The picture is too large: %1 \u00D7 %2")
                    .arg(bomb.Width)
                    .arg(bomb.Height));
    }
    ImageBitmap bmp;
    ASSERT_EQ(CreateBitmap(bmp, 1, 3, 2, 24, ColorOrder::Bgr, nullptr, TopLeft), SUCCESS);
    EXPECT_EQ(LoadBitmapFile(file, bmp), expected);
    EXPECT_EQ(LoadImageFile(file, bmp), expected);
    EXPECT_EQ(bmp.Pixels.size(), QSize(3, 2));
    FileInfo header;
    EXPECT_EQ(LoadPictureFile(file, bmp, header), expected);
    EXPECT_FALSE(bmp.hasPixels());
    if (expected == ERROR_IMAGE_TOO_LARGE) {
      EXPECT_EQ(header.Width, bomb.Width);
    }
    SetProgressCallback(previous);
    EXPECT_EQ(reports, 0) << "decoding began";
  }

  QTemporaryDir dir_;
};
}  // namespace

// By each format's own coding the data cannot hold the pixels: the file is damaged or
// forged, whatever the picture's size.
TEST_F(FileBomb, DataThatCannotHoldTheDeclaredPixelsIsCorrupt) {
  const QByteArray fewRows(8 * (6000 + 1), '\0');
  const std::vector<Bomb> bombs = {
      {"deflate.png", PngFile(30000, 30000, 1, QByteArray(8 * (3750 + 1), '\0')), 30000, 30000},
      {"grey.png", PngFile(6000, 6000, 8, fewRows), 6000, 6000},
      {"lzw.gif", Gif(6000, 6000, 5), 6000, 6000},
      {"runs.tga", TgaRunLength(6000, 6000), 6000, 6000},
      {"runs.pcx", Pcx(6000, 6000), 6000, 6000},
      {"runs.ras", SunRunLength(6000, 6000), 6000, 6000},
      {"runs.psd", PsdRunLength(3000, 3000), 3000, 3000},
      {"deflate.tif", Tiff(6000, 6000, 8, Deflated(fewRows)), 6000, 6000},
      {"plain.msp", MspPlain(6000, 6000, 100), 6000, 6000},
      {"short-row.msp", MspPackedFile(8000, {3, 0, 0}), 8000, 3},
      {"repeats.img", GemImgFile(8000, 60000, 255), 8000, 60000},
      {"png-inside.ico", IconHolding(PngFile(30000, 30000, 1, QByteArray(100, '\0'))), 30000,
       30000},
      {"huffman.jpg", FlatJpegFile(false, 16, 16, 20000, 20000), 20000, 20000},
  };
  for (const Bomb& bomb : bombs) ExpectRefused(bomb, ERROR_FILE_CORRUPT);
}

// Codings that can pack a flat picture into almost nothing: beyond the pixels any file
// may have, each byte of data may stand for kPixelsPerDataByte pixels, no more.
TEST_F(FileBomb, FlatCodingsAnswerToTheExpansionLimit) {
  const std::vector<Bomb> bombs = {
      {"arithmetic.jpg", FlatJpegFile(true, 16, 16, 30000, 30000), 30000, 30000},
      {"empty-rows.msp", MspPackedFile(30000, std::vector<quint16>(30000, 0)), 30000, 30000},
      {"ends-at-once.bmp", BmpRunLengthEndingAtOnce(9000, 9000), 9000, 9000},
      {"fax.tif", Tiff(20000, 20000, 4, QByteArray("\x00\x10\x01", 3)), 20000, 20000},
  };
  for (const Bomb& bomb : bombs) ExpectRefused(bomb, ERROR_IMAGE_TOO_LARGE);
  EXPECT_LT(bombs[0].Bytes.size(), 200);
}

TEST_F(FileBomb, PicturesBeyondTheLibraryLimitsAreTooLarge) {
  const std::vector<Bomb> bombs = {
      {"widest.msp", MspPackedFile(65535, std::vector<quint16>(65535, 0)), 65535, 65535},
      {"widest.img", GemImgFile(65535, 65535, 65535), 65535, 65535},
      {"too-wide.png", PngFile(300000, 1, 1, QByteArray(37501, '\0')), 300000, 1},
  };
  for (const Bomb& bomb : bombs) ExpectRefused(bomb, ERROR_IMAGE_TOO_LARGE);
  EXPECT_FALSE(PictureSizeAllowed(kPictureSideLimit, 1));
  EXPECT_FALSE(PictureSizeAllowed(40000, 25000));  // the area: exactly the limit
  EXPECT_TRUE(PictureSizeAllowed(40000, 24999));
}

// The pixels any file may have come from however little data; a byte more or less of
// data decides just beyond them, and no amount of data overflows the reckoning.
TEST_F(FileBomb, TheExpansionLimitHasNoGapAndNoOverflow) {
  EXPECT_EQ(CheckPictureSize(8192, 8192, 0, false), SUCCESS);  // the pixels any file may have
  EXPECT_EQ(CheckPictureSize(8193, 8192, 0, false), ERROR_IMAGE_TOO_LARGE);
  EXPECT_EQ(CheckPictureSize(8193, 8192, 1, false), SUCCESS);  // one byte: 8192 pixels more
  EXPECT_EQ(CheckPictureSize(8194, 8192, 1, false), ERROR_IMAGE_TOO_LARGE);
  EXPECT_EQ(CheckPictureSize(20000, 20000, INT64_MAX, false), SUCCESS);
  EXPECT_EQ(CheckPictureSize(INT64_MAX, INT64_MAX, INT64_MAX, false), ERROR_IMAGE_TOO_LARGE);
}

// Flat pictures within the pixels any file may have: tiny files, loaded as they are.
TEST_F(FileBomb, FlatPicturesOfASensibleSizeStillLoad) {
  const std::vector<Bomb> flat = {
      {"flat-arithmetic.jpg", FlatJpegFile(true, 2048, 2048, 2048, 2048), 2048, 2048},
      {"flat.msp", MspPackedFile(4000, std::vector<quint16>(4000, 0)), 4000, 4000},
      {"flat.img", GemImgFile(4000, 4000, 4000), 4000, 4000},
      {"flat.png", PngFile(4000, 4000, 1, QByteArray(4000 * 501, '\0')), 4000, 4000},
  };
  for (const Bomb& picture : flat) {
    SCOPED_TRACE(picture.Name.toStdString());
    const QString file = Write(picture);
    ImageBitmap bmp;
    FileInfo header;
    ASSERT_EQ(LoadPictureFile(file, bmp, header), SUCCESS);
    EXPECT_EQ(bmp.Pixels.size(), QSize(picture.Width, picture.Height));
    EXPECT_EQ(qGray(bmp.Pixels.pixel(picture.Width - 1, picture.Height - 1)),
              qGray(bmp.Pixels.pixel(0, 0)));
  }
}
