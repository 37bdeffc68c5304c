// The format table, telling formats by content, loading at a chosen depth, orientation.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "fil/ltfil.h"

namespace {
ImageBitmap Colours(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      image.setPixel(x, y, qRgb(x * 7 & 255, y * 5 & 255, (x ^ y) & 255));
  ImageBitmap bmp;
  SetBitmapImage(bmp, image);
  return bmp;
}

class FileLoad : public ::testing::Test {
 protected:
  QString Path(const QString& name) const { return dir_.filePath(name); }
  QByteArray Read(const QString& path) const {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }
  void Write(const QString& path, const QByteArray& bytes) const {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }
  QTemporaryDir dir_;
};
}  // namespace

TEST(FileFormatTable, ExtensionsAndNames) {
  const std::pair<const char*, int> table[] = {
      {"cmp", 5},  {"cal", 50}, {"img", 52}, {"png", 75}, {"dic", 90}, {"tif", 17}, {"gif", 2},
      {"ica", 73}, {"jpg", 10}, {"jff", 10}, {"jtf", 10}, {"pct", 56}, {"mac", 51}, {"msp", 53},
      {"awd", 99}, {"pcx", 1},  {"psd", 76}, {"eps", 16}, {"ras", 55}, {"tga", 4},  {"wmf", 15},
      {"bmp", 6},  {"fxs", 70}, {"wpg", 54}, {"ico", 91}, {"cur", 92}};
  for (const auto& [extension, format] : table) {
    EXPECT_EQ(FormatForExtension(extension), format) << extension;
    EXPECT_EQ(FormatForExtension(QString(extension).toUpper()), format) << extension;
    EXPECT_FALSE(FormatName(format).isEmpty());
  }
  for (const char* absent : {"jpeg", "pcd", "", "xyz", "tiff", "pngx", ".png"})
    EXPECT_EQ(FormatForExtension(absent), 0) << absent;
  EXPECT_EQ(FileExtension("/photos/holiday.Beach.JPG"), "JPG");
  EXPECT_EQ(FileExtension("/photos.old/readme"), "");
  EXPECT_EQ(FileExtension("noext"), "");
  EXPECT_EQ(FormatExtension(FILE_JPEG_411), "jpg");
  EXPECT_EQ(FormatExtension(3), "");

  // What this build reads and writes.
  for (int format : {FILE_WMF, FILE_WPG, FILE_MAC, FILE_DICOM}) {
    EXPECT_TRUE(CanReadFormat(format)) << format;
    EXPECT_FALSE(CanWriteFormat(format)) << format;
  }
  for (int format : {FILE_PNG, FILE_GIF, FILE_BMP, FILE_TIF, FILE_PCX, FILE_TGA, FILE_RAS, FILE_PCT,
                     FILE_PSD, FILE_ICO, FILE_CUR, FILE_CALS, FILE_JPEG, FILE_JPEG_411})
    EXPECT_TRUE(CanReadFormat(format) && CanWriteFormat(format)) << format;
  for (int format : {FILE_MSP, FILE_GEM_IMG})
    EXPECT_TRUE(CanReadFormat(format) && CanWriteFormat(format)) << format;
  EXPECT_TRUE(CanWriteFormat(FILE_EPS));
  EXPECT_FALSE(CanReadFormat(FILE_EPS));
  for (int format : {FILE_LEAD_CMP, FILE_AWD, FILE_WINFAX, FILE_ICA})
    EXPECT_FALSE(CanReadFormat(format) || CanWriteFormat(format)) << format;
  EXPECT_FALSE(CanReadFormat(3) || CanWriteFormat(3));
}

TEST_F(FileLoad, ContentDecidesNotTheName) {
  const ImageBitmap bmp = Colours(20, 10);
  ASSERT_EQ(SaveImageFile(Path("a.png"), bmp, FILE_PNG, 24, 2), SUCCESS);
  ASSERT_EQ(SaveImageFile(Path("b.gif"), bmp, FILE_GIF, 8, 2), SUCCESS);
  Write(Path("picture.dat"), Read(Path("a.png")));
  Write(Path("really-gif.png"), Read(Path("b.gif")));
  // Names Magick would take for instructions are only names here.
  Write(Path("gif:[0]x.png"), Read(Path("a.png")));
  const std::pair<QString, int> cases[] = {
      {"picture.dat", FILE_PNG}, {"really-gif.png", FILE_GIF}, {"gif:[0]x.png", FILE_PNG}};
  for (const auto& [name, format] : cases) {
    FileInfo info;
    ASSERT_EQ(GetImageFileInfo(Path(name), info), SUCCESS) << name.toStdString();
    EXPECT_EQ(info.Format, format);
    EXPECT_EQ(info.Width, 20);
    ImageBitmap back;
    EXPECT_EQ(LoadImageFile(Path(name), back), SUCCESS);
    EXPECT_EQ(back.Width, 20);
  }
  // A known format nothing here reads says so.
  Write(Path("old.cmp"), QByteArray(300, 'x'));
  ImageBitmap none;
  EXPECT_EQ(LoadPictureFile(Path("old.cmp"), none), ERROR_FORMAT_NO_READER);
}

TEST_F(FileLoad, EveryDepthOnRequest) {
  ASSERT_EQ(SaveImageFile(Path("c.png"), Colours(60, 40), FILE_PNG, 24, 2), SUCCESS);
  for (int bits : {1, 4, 8, 24, 32}) {
    ImageBitmap bmp;
    bmp.BitsPerPixel = bits;
    ASSERT_EQ(LoadBitmapFile(Path("c.png"), bmp), SUCCESS);
    EXPECT_EQ(bmp.BitsPerPixel, bits);
    EXPECT_EQ(bmp.Pixels.format(), ImageFormatForBits(bits));
    if (bits <= 8) {
      EXPECT_LE(bmp.Pixels.colorCount(), 1 << bits);
    }
  }
  ImageBitmap bad;
  bad.BitsPerPixel = 12;
  EXPECT_EQ(LoadBitmapFile(Path("c.png"), bad), ERROR_BPP_NOT_SUPPORTED);

  ImageBitmap picture;
  ASSERT_EQ(LoadPictureFile(Path("c.png"), picture), SUCCESS);
  EXPECT_EQ(picture.BitsPerPixel, 24);
  EXPECT_EQ(picture.Pixels.size(), QSize(60, 40));
}

TEST_F(FileLoad, OrientationTurnsPicturesUpright) {
  // A wide picture with a red top-left corner, stored as a camera turned right would.
  ImageBitmap bmp = Colours(30, 20);
  bmp.Pixels.setPixel(0, 0, qRgb(255, 0, 0));
  ASSERT_EQ(SaveImageFile(Path("turned.tif"), bmp, FILE_TIF, 24, 2), SUCCESS);
  QByteArray tiff = Read(Path("turned.tif"));
  const auto le16 = [&tiff](qsizetype at) {
    return int(uchar(tiff[at]) | uchar(tiff[at + 1]) << 8);
  };
  const qsizetype directory = le16(4) | le16(6) << 16;
  bool patched = false;
  for (int i = 0; i < le16(directory); ++i) {
    const qsizetype entry = directory + 2 + 12 * i;
    if (le16(entry) == 274) tiff[entry + 8] = 6, patched = true;
  }
  ASSERT_TRUE(patched);
  Write(Path("turned.tif"), tiff);

  ASSERT_EQ(SaveImageFile(Path("turned.jpg"), bmp, FILE_JPEG, 24, 2), SUCCESS);
  QByteArray jpeg = Read(Path("turned.jpg"));
  const QByteArray exif(
      "\xFF\xE1\x00\x22"
      "Exif\0\0"
      "II*\0\x08\0\0\0"
      "\x01\0"
      "\x12\x01\x03\0\x01\0\0\0\x06\0\0\0"
      "\0\0\0\0",
      36);
  jpeg.insert(2, exif);
  Write(Path("turned.jpg"), jpeg);

  for (const char* name : {"turned.tif", "turned.jpg"}) {
    SCOPED_TRACE(name);
    FileInfo info;
    ASSERT_EQ(GetImageFileInfo(Path(name), info), SUCCESS);
    EXPECT_EQ(info.Width, 20);
    EXPECT_EQ(info.Height, 30);
    ImageBitmap upright;
    ASSERT_EQ(LoadPictureFile(Path(name), upright), SUCCESS);
    ASSERT_EQ(upright.Pixels.size(), QSize(20, 30));
    // Turned a quarter clockwise: the stored top-left corner is now top-right.
    EXPECT_GT(qRed(upright.Pixels.pixel(19, 0)), 200);
  }
}
