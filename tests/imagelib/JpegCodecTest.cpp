#include <algorithm>
#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include "cmp/JpegCodec.h"
#include "fil/ltfil.h"
#include "krn/ltkrn.h"
#include "support/RequireTool.h"

namespace {
QByteArray RunTool(const QString& program, const QStringList& args) {
  QProcess process;
  process.start(program, args);
  process.waitForFinished(60000);
  EXPECT_EQ(process.exitCode(), 0) << program.toStdString() << " " << args.join(' ').toStdString()
                                   << ": " << process.readAllStandardError().toStdString();
  return process.readAllStandardOutput();
}

// One tag as exiftool reads it, e.g. "EXIF:ImageDescription".
QString ExifToolValue(const QString& file, const QString& tag) {
  return QString::fromUtf8(RunTool("exiftool", {"-b", "-" + tag, file}));
}

void ExifToolWrite(const QString& file, const QStringList& assignments) {
  RunTool("exiftool", QStringList{"-n", "-overwrite_original"} + assignments + QStringList{file});
}

QByteArray ReadAll(const QString& file) {
  QFile f(file);
  EXPECT_TRUE(f.open(QIODevice::ReadOnly));
  return f.readAll();
}

void WriteAll(const QString& file, const QByteArray& bytes) {
  QFile f(file);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  f.write(bytes);
}

// Smooth gradients with a soft ripple: compresses like a photo, unlike noise or flat colour.
ImageBitmap MakePhoto(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y) {
    auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < width; ++x) {
      const int ripple = int(20 * std::sin(x / 9.0) * std::cos(y / 7.0));
      row[x] = qRgb(std::clamp(x * 255 / width + ripple, 0, 255), y * 255 / height,
                    std::clamp(128 + ripple * 2, 0, 255));
    }
  }
  ImageBitmap bmp;
  EXPECT_EQ(SetBitmapImage(bmp, image), SUCCESS);
  return bmp;
}

struct Difference {
  double mean = 0;
  int max = 0;
};

Difference Compare(const QImage& a, const QImage& b) {
  const QImage x = a.convertToFormat(QImage::Format_RGB32);
  const QImage y = b.convertToFormat(QImage::Format_RGB32);
  Difference d;
  double sum = 0;
  for (int row = 0; row < x.height(); ++row)
    for (int col = 0; col < x.width(); ++col) {
      const QRgb p = x.pixel(col, row), q = y.pixel(col, row);
      for (int e : {qRed(p) - qRed(q), qGreen(p) - qGreen(q), qBlue(p) - qBlue(q)}) {
        sum += std::abs(e);
        d.max = std::max(d.max, std::abs(e));
      }
    }
  d.mean = sum / (3.0 * x.width() * x.height());
  return d;
}

bool Near(QRgb a, QRgb b, int tolerance) {
  return std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
         std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

// A bitmap a failed decode must leave alone.
ImageBitmap Sentinel() {
  ImageBitmap bmp;
  CreateBitmap(bmp, 1, 3, 2, 24, ColorOrder::Bgr, nullptr, TopLeft);
  return bmp;
}

class ProgressGuard {
 public:
  explicit ProgressGuard(ProgressCallback callback)
      : previous_(SetProgressCallback(std::move(callback))) {}
  ~ProgressGuard() { SetProgressCallback(previous_); }

 private:
  ProgressCallback previous_;
};

class JpegCodec : public ::testing::Test {
 protected:
  QString path(const QString& name) const { return dir_.filePath(name); }
  QString encode(const QString& name, const ImageBitmap& bmp, int format = 21, int bits = 24,
                 int quality = 20, const QString& description = QString()) {
    const QString file = path(name);
    EXPECT_EQ(EncodeJpegFile(file, bmp, format, bits, quality, description), SUCCESS);
    return file;
  }

  QTemporaryDir dir_;
};
}  // namespace

TEST_F(JpegCodec, RoundTripsStayWithinJpegError) {
  ImageBitmap photo = MakePhoto(333, 201);  // not a multiple of the MCU size
  photo.XResolution = photo.YResolution = 300;
  for (int format : {10, 21}) {
    const QString file = encode("best.jpg", photo, format, 24, 2);
    ImageBitmap back;
    ASSERT_EQ(DecodeJpegFile(file, back, 0), SUCCESS);
    EXPECT_EQ(back.Width, 333);
    EXPECT_EQ(back.Height, 201);
    EXPECT_EQ(back.BitsPerPixel, 24);
    EXPECT_EQ(back.Pixels.format(), QImage::Format_RGB32);
    EXPECT_EQ(back.XResolution, 300);
    const Difference d = Compare(photo.Pixels, back.Pixels);
    EXPECT_LT(d.mean, 1.5) << format;
    EXPECT_LT(d.max, format == 10 ? 16 : 48) << format;
  }
  const qint64 bestSize = QFileInfo(path("best.jpg")).size();
  const QString worst = encode("worst.jpg", photo, 21, 24, 255);
  EXPECT_LT(QFileInfo(worst).size() * 4, bestSize);
  ImageBitmap back;
  ASSERT_EQ(DecodeJpegFile(worst, back, 0), SUCCESS);
  EXPECT_LT(Compare(photo.Pixels, back.Pixels).mean, 12);
}

TEST_F(JpegCodec, FormatsWriteTheirSamplingAndFactorsTheirTables) {
  if (!RequireTool("exiftool", "libimage-exiftool-perl")) return;
  if (!RequireTool("identify", "imagemagick")) return;
  const ImageBitmap photo = MakePhoto(64, 48);
  for (auto [format, sampling] : {std::pair{10, 1}, {21, 2}}) {
    const QString file = encode("f.jpg", photo, format);
    JpegInfo info;
    ASSERT_EQ(ReadJpegInfo(file, info), SUCCESS);
    EXPECT_EQ(info.Components, 3);
    EXPECT_EQ(info.SubsamplingX, sampling);
    EXPECT_EQ(info.SubsamplingY, sampling);
    EXPECT_FALSE(info.Progressive);
    EXPECT_EQ(ExifToolValue(file, "YCbCrSubSampling"), format == 10 ? "1 1" : "2 2");
    EXPECT_EQ(ExifToolValue(file, "EncodingProcess"), "0");  // baseline
  }
  // The tables actually written match what the factor promises (as cjpeg -quality would).
  for (int factor : {2, 20, 50, 100}) {
    const QString file = encode("q.jpg", photo, 21, 24, factor);
    EXPECT_EQ(RunTool("identify", {"-format", "%Q", file}).toInt(), JpegQualityForFactor(factor));
  }
  EXPECT_EQ(JpegQualityForFactor(20), 80);
  EXPECT_EQ(JpegQualityForFactor(100), 25);
}

TEST_F(JpegCodec, GreyAndDepthConversions) {
  ImageBitmap grey = MakePhoto(40, 30);
  ASSERT_EQ(ApplyGrayScale(grey, 8), SUCCESS);
  const QString greyFile = encode("grey.jpg", grey, 21, 0, 2);
  JpegInfo info;
  ASSERT_EQ(ReadJpegInfo(greyFile, info), SUCCESS);
  EXPECT_EQ(info.Components, 1);

  ImageBitmap back;
  ASSERT_EQ(DecodeJpegFile(greyFile, back, 0), SUCCESS);
  EXPECT_EQ(back.BitsPerPixel, 8);
  EXPECT_EQ(back.Pixels.format(), QImage::Format_Indexed8);
  EXPECT_EQ(back.Pixels.color(200), qRgb(200, 200, 200));
  EXPECT_LT(Compare(grey.Pixels, back.Pixels).max, 8);

  ASSERT_EQ(DecodeJpegFile(greyFile, back, 24), SUCCESS);
  EXPECT_EQ(back.BitsPerPixel, 24);
  EXPECT_EQ(qRed(back.Pixels.pixel(5, 5)), qBlue(back.Pixels.pixel(5, 5)));

  const ImageBitmap colour = MakePhoto(40, 30);
  const QString colourFile = encode("colour.jpg", colour, 10, 24, 2);
  ASSERT_EQ(DecodeJpegFile(colourFile, back, 8), SUCCESS);
  EXPECT_EQ(back.BitsPerPixel, 8);
  EXPECT_NEAR(qGray(back.Pixels.pixel(20, 15)), qGray(colour.Pixels.pixel(20, 15)), 4);
  ASSERT_EQ(DecodeJpegFile(colourFile, back, 32), SUCCESS);
  EXPECT_EQ(back.BitsPerPixel, 32);
  EXPECT_EQ(qAlpha(back.Pixels.pixel(3, 3)), 255);

  // A colour bitmap saved as grey, and a grey one saved as colour.
  const QString toGrey = encode("to-grey.jpg", colour, 21, 8, 2);
  ASSERT_EQ(ReadJpegInfo(toGrey, info), SUCCESS);
  EXPECT_EQ(info.Components, 1);
  const QString toColour = encode("to-colour.jpg", grey, 21, 24, 2);
  ASSERT_EQ(ReadJpegInfo(toColour, info), SUCCESS);
  EXPECT_EQ(info.Components, 3);
}

TEST_F(JpegCodec, AdobeCmykComesInAsRgb) {
  if (!RequireTool("convert", "imagemagick")) return;
  const QString file = path("cmyk.jpg");
  RunTool("convert", {"-size", "48x32", "xc:rgb(200,30,60)", "-colorspace", "CMYK", "-quality", "98", file});
  JpegInfo info;
  ASSERT_EQ(ReadJpegInfo(file, info), SUCCESS);
  ASSERT_EQ(info.Components, 4);
  ImageBitmap bmp;
  ASSERT_EQ(DecodeJpegFile(file, bmp, 0), SUCCESS);
  EXPECT_EQ(bmp.BitsPerPixel, 24);
  EXPECT_TRUE(Near(bmp.Pixels.pixel(20, 10), qRgb(200, 30, 60), 6))
      << std::hex << bmp.Pixels.pixel(20, 10);
}

TEST_F(JpegCodec, ExifOrientationIsAppliedInBothByteOrders) {
  if (!RequireTool("exiftool", "libimage-exiftool-perl")) return;
  // Stored quadrants: red top-left, green top-right, blue bottom-left, white bottom-right.
  QImage stored(64, 32, QImage::Format_RGB32);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 64; ++x)
      stored.setPixel(x, y, y < 16 ? (x < 32 ? qRgb(255, 0, 0) : qRgb(0, 255, 0))
                                   : (x < 32 ? qRgb(0, 0, 255) : qRgb(255, 255, 255)));
  ImageBitmap bmp;
  SetBitmapImage(bmp, stored);
  enum Corner { TL, TR, BL, BR };
  // Where the stored top-left and top-right corners belong on screen, per orientation.
  const Corner firstCorner[9] = {TL, TL, TR, BR, BL, TL, TR, BR, BL};
  const Corner endOfFirstRow[9] = {TL, TR, TL, BL, BR, BL, BR, TR, TL};
  for (int orientation = 1; orientation <= 8; ++orientation) {
    const QString file = encode(QString("o%1.jpg").arg(orientation), bmp, 10, 24, 2);
    ExifToolWrite(file, {QString("-Orientation=%1").arg(orientation),
                         orientation % 2 ? "-ExifByteOrder=II" : "-ExifByteOrder=MM"});
    JpegInfo info;
    ASSERT_EQ(ReadJpegInfo(file, info), SUCCESS);
    EXPECT_EQ(info.Orientation, orientation);
    EXPECT_EQ(info.Width, 64);

    ImageBitmap upright;
    ASSERT_EQ(DecodeJpegFile(file, upright, 0), SUCCESS);
    const bool onSide = orientation >= 5;
    EXPECT_EQ(upright.Width, onSide ? 32 : 64) << orientation;
    const int w = upright.Width, h = upright.Height;
    auto at = [&](Corner c) {
      return upright.Pixels.pixel(c == TL || c == BL ? 2 : w - 3, c == TL || c == TR ? 2 : h - 3);
    };
    EXPECT_TRUE(Near(at(firstCorner[orientation]), qRgb(255, 0, 0), 24)) << orientation;
    EXPECT_TRUE(Near(at(endOfFirstRow[orientation]), qRgb(0, 255, 0), 24)) << orientation;
  }
}

TEST_F(JpegCodec, ScaledDecodePicksTheSmallestScaleThatIsLargeEnough) {
  if (!RequireTool("exiftool", "libimage-exiftool-perl")) return;
  const QString file = encode("big.jpg", MakePhoto(800, 600));
  ImageBitmap bmp;
  ASSERT_EQ(DecodeJpegFileScaled(file, bmp, 0, 100, 75), SUCCESS);
  EXPECT_EQ(bmp.Pixels.size(), QSize(100, 75));
  ASSERT_EQ(DecodeJpegFileScaled(file, bmp, 0, 101, 10), SUCCESS);
  EXPECT_EQ(bmp.Pixels.size(), QSize(200, 150));
  ASSERT_EQ(DecodeJpegFileScaled(file, bmp, 0, 500, 10), SUCCESS);
  EXPECT_EQ(bmp.Pixels.size(), QSize(800, 600));
  ASSERT_EQ(DecodeJpegFileScaled(file, bmp, 8, 2000, 2000), SUCCESS);
  EXPECT_EQ(bmp.Pixels.size(), QSize(800, 600));
  // The request is for the upright picture.
  ExifToolWrite(file, {"-Orientation=6"});
  ASSERT_EQ(DecodeJpegFileScaled(file, bmp, 0, 150, 200), SUCCESS);
  EXPECT_EQ(bmp.Pixels.size(), QSize(150, 200));
  ASSERT_EQ(DecodeJpegFileScaled(file, bmp, 0, 200, 150), SUCCESS);
  EXPECT_EQ(bmp.Pixels.size(), QSize(300, 400));
}

TEST_F(JpegCodec, DescriptionsRoundTripWholeAndOtherProgramsReadThem) {
  if (!RequireTool("exiftool", "libimage-exiftool-perl")) return;
  const QString pattern = QString::fromUtf8("Grüße aus Köln – 日本の写真 🌍 <b> & \"x\" ");
  QString long255;
  while (long255.toUcs4().size() < 255) long255 += pattern;
  while (long255.toUcs4().size() > 255) long255.chop(long255.back().isLowSurrogate() ? 2 : 1);
  ASSERT_EQ(long255.toUcs4().size(), 255);

  const ImageBitmap photo = MakePhoto(32, 24);
  for (const QString& text : {long255, QString::fromUtf8("é"), QString("line one\nline two")}) {
    const QString file = encode("d.jpg", photo, 21, 24, 20, text);
    QString read;
    ASSERT_EQ(ReadJpegDescription(file, read), SUCCESS);
    EXPECT_EQ(read, text);
    ImageBitmap bmp;
    QString decoded;
    ASSERT_EQ(DecodeJpegFile(file, bmp, 0, &decoded), SUCCESS);
    EXPECT_EQ(decoded, text);
    EXPECT_EQ(ExifToolValue(file, "EXIF:ImageDescription"), text);
    EXPECT_EQ(ExifToolValue(file, "XMP-dc:Description"), text);
    EXPECT_EQ(ExifToolValue(file, "File:Comment"), text);
  }

  // Longer text keeps its first 255 characters; a character is never cut in half.
  const QString file = encode("long.jpg", photo, 21, 24, 20, long255 + QString::fromUtf8("🌍🌍"));
  QString read;
  ASSERT_EQ(ReadJpegDescription(file, read), SUCCESS);
  EXPECT_EQ(read, long255);

  const QString none = encode("none.jpg", photo);
  EXPECT_EQ(ReadJpegDescription(none, read), ERROR_NO_COMMENT);
  ImageBitmap bmp;
  QString decoded = "stale";
  ASSERT_EQ(DecodeJpegFile(none, bmp, 0, &decoded), SUCCESS);
  EXPECT_TRUE(decoded.isEmpty());
}

TEST_F(JpegCodec, DescriptionsWrittenByOtherProgramsAreFoundInOrder) {
  if (!RequireTool("exiftool", "libimage-exiftool-perl")) return;
  const QString file = encode("other.jpg", MakePhoto(32, 24));
  QString read;
  ExifToolWrite(file, {QString::fromUtf8("-XMP-dc:Description=Nur XMP – ä")});
  ASSERT_EQ(ReadJpegDescription(file, read), SUCCESS);
  EXPECT_EQ(read, QString::fromUtf8("Nur XMP – ä"));

  ExifToolWrite(file, {"-XMP-dc:Description=", QString::fromUtf8("-Comment=Only a comment ✓")});
  ASSERT_EQ(ReadJpegDescription(file, read), SUCCESS);
  EXPECT_EQ(read, QString::fromUtf8("Only a comment ✓"));

  ExifToolWrite(file, {"-EXIF:ImageDescription=From EXIF", "-XMP-dc:Description=From XMP"});
  ASSERT_EQ(ReadJpegDescription(file, read), SUCCESS);
  EXPECT_EQ(read, "From EXIF");
  // A blank EXIF field, as cameras leave it, does not hide the others.
  ExifToolWrite(file, {"-EXIF:ImageDescription=   "});
  ASSERT_EQ(ReadJpegDescription(file, read), SUCCESS);
  EXPECT_EQ(read, "From XMP");

  // Comments with a trailing NUL (as Exiv2 rewrites them) or in Latin-1 (older cameras).
  const QByteArray plain = ReadAll(encode("plain.jpg", MakePhoto(16, 16)));
  for (auto [bytes, expected] : {std::pair{QByteArray("Exiv2 text\0", 11), QString("Exiv2 text")},
                                 {QByteArray("Caf\xe9"), QString::fromUtf8("Café")}}) {
    const int length = int(bytes.size()) + 2;
    QByteArray withComment = plain.left(2) + QByteArray("\xFF\xFE") + char(length >> 8) +
                             char(length & 0xFF) + bytes + plain.mid(2);
    WriteAll(path("com.jpg"), withComment);
    ASSERT_EQ(ReadJpegDescription(path("com.jpg"), read), SUCCESS);
    EXPECT_EQ(read, expected);
  }
}

TEST_F(JpegCodec, FilesCutShortFailAtEveryCutAndLeaveTheBitmapAlone) {
  const QString file = encode("whole.jpg", MakePhoto(160, 120), 21, 24, 20, "a description");
  std::vector<QByteArray> wholes = {ReadAll(file)};
  if (RequireTool("jpegtran", "libjpeg-turbo-progs")) {
    RunTool("jpegtran", {"-progressive", "-outfile", path("progressive.jpg"), file});
    wholes.push_back(ReadAll(path("progressive.jpg")));
  }
  const QString cut = path("cut.jpg");
  for (const QByteArray& whole : wholes) {
    const int size = int(whole.size());
    const int scanStart = int(whole.indexOf("\xFF\xDA"));
    for (int length = 0; length < size - 2; length += length < scanStart + 40 ? 3 : size / 97 + 1) {
      WriteAll(cut, whole.left(length));
      ImageBitmap bmp = Sentinel();
      QString description = "kept";
      const int result = DecodeJpegFile(cut, bmp, 0, &description);
      EXPECT_TRUE(result == ERROR_FILE_CORRUPT || (length == 0 && result == ERROR_FILE_FORMAT))
          << length << " of " << size << ": " << result;
      EXPECT_EQ(bmp.Width, 3);
      EXPECT_EQ(description, "kept");
      JpegInfo info;
      if (length < scanStart) {
        EXPECT_NE(ReadJpegInfo(cut, info), SUCCESS) << length;
      }
      // Cut inside a scan and closed properly: the data still ends before the picture.
      // (Cut exactly between two progressive scans, the file is a valid coarser picture.)
      const bool betweenScans = whole.mid(length - 1, 2).startsWith('\xFF') ||
                                whole.mid(length, 2).startsWith('\xFF');
      if (length > scanStart + 20 && length < size - 32 && !betweenScans) {
        WriteAll(cut, whole.left(length) + "\xFF\xD9");
        EXPECT_EQ(DecodeJpegFile(cut, bmp, 0), ERROR_FILE_CORRUPT) << length << " of " << size;
      }
    }
  }
}

TEST_F(JpegCodec, AFileMissingOnlyItsEndMarkerStillLoads) {
  const QString file = encode("whole.jpg", MakePhoto(160, 120), 21, 24, 20, "");
  const QByteArray whole = ReadAll(file);
  ASSERT_TRUE(whole.endsWith("\xFF\xD9"));
  WriteAll(path("no-end.jpg"), whole.chopped(2));
  ImageBitmap bmp;
  EXPECT_EQ(DecodeJpegFile(path("no-end.jpg"), bmp, 0), SUCCESS);
  EXPECT_EQ(bmp.Width, 160);
  // Any real loss in the last rows is still refused.
  for (qsizetype length = whole.size() - 40; length < whole.size() - 2; ++length) {
    WriteAll(path("cut.jpg"), whole.left(length));
    EXPECT_EQ(DecodeJpegFile(path("cut.jpg"), bmp, 0), ERROR_FILE_CORRUPT) << length;
  }
}

TEST_F(JpegCodec, LyingHeadersAndGarbageGiveErrorsNotCrashes) {
  QByteArray whole = ReadAll(encode("small.jpg", MakePhoto(64, 48)));
  // The frame header claims 65000 x 65000 pixels; the data holds 64 x 48.
  QByteArray lying = whole;
  const qsizetype sof = lying.indexOf("\xFF\xC0");
  ASSERT_GT(sof, 0);
  for (int i : {5, 7}) {
    lying[sof + i] = char(0xFD);
    lying[sof + i + 1] = char(0xE8);
  }
  WriteAll(path("lying.jpg"), lying);
  ImageBitmap bmp = Sentinel();
  const int result = DecodeJpegFile(path("lying.jpg"), bmp, 0);
  EXPECT_TRUE(result == ERROR_FILE_CORRUPT || result == ERROR_NO_MEMORY ||
              result == ERROR_IMAGE_TOO_LARGE)
      << result;
  EXPECT_EQ(bmp.Width, 3);

  QRandomGenerator random(20240611);
  for (int round = 0; round < 300; ++round) {
    QByteArray bytes = whole;
    if (round < 20) {
      bytes = QByteArray(int(random.bounded(1, 3000)), Qt::Uninitialized);
      for (char& c : bytes) c = char(random.bounded(256));
      if (round % 2) bytes.prepend("\xFF\xD8");
    } else {
      // Damage a few bytes anywhere, headers included.
      for (int hits = 0; hits < 1 + round % 5; ++hits)
        bytes[int(random.bounded(2, int(bytes.size())))] = char(random.bounded(256));
    }
    WriteAll(path("garbage.jpg"), bytes);
    ImageBitmap out = Sentinel();
    QString description;
    JpegInfo info;
    const int decoded = DecodeJpegFile(path("garbage.jpg"), out, 0, &description);
    ReadJpegInfo(path("garbage.jpg"), info);
    if (decoded == SUCCESS) {
      EXPECT_EQ(out.Pixels.size(), QSize(out.Width, out.Height));
    } else {
      EXPECT_EQ(out.Width, 3);
      if (round < 20 && round % 2 == 0) {
        EXPECT_EQ(decoded, ERROR_FILE_FORMAT);
      }
    }
  }
}

TEST_F(JpegCodec, FileProblemsHaveTheirOwnCodes) {
  ImageBitmap bmp = Sentinel();
  EXPECT_EQ(DecodeJpegFile(path("missing.jpg"), bmp, 0), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(DecodeJpegFile(dir_.path(), bmp, 0), ERROR_FILE_OPEN);
  WriteAll(path("empty.jpg"), QByteArray());
  EXPECT_EQ(DecodeJpegFile(path("empty.jpg"), bmp, 0), ERROR_FILE_FORMAT);
  WriteAll(path("text.jpg"), "just some text, not a picture");
  EXPECT_EQ(DecodeJpegFile(path("text.jpg"), bmp, 0), ERROR_FILE_FORMAT);
  JpegInfo info;
  EXPECT_EQ(ReadJpegInfo(path("text.jpg"), info), ERROR_FILE_FORMAT);
  QString description;
  EXPECT_EQ(ReadJpegDescription(path("missing.jpg"), description), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(DecodeJpegFile(path("text.jpg"), bmp, 16), ERROR_BPP_NOT_SUPPORTED);
  EXPECT_EQ(bmp.Width, 3);

  const ImageBitmap photo = MakePhoto(16, 16);
  EXPECT_EQ(EncodeJpegFile(path("no/such/folder/x.jpg"), photo, 21, 24, 20, {}), ERROR_FILE_WRITE);
  EXPECT_EQ(EncodeJpegFile(dir_.path(), photo, 21, 24, 20, {}), ERROR_FILE_OPEN);
  if (QFileInfo::exists("/dev/full")) {
    EXPECT_EQ(EncodeJpegFile("/dev/full", MakePhoto(300, 300), 21, 24, 20, {}), ERROR_FILE_WRITE);
    EXPECT_TRUE(QFileInfo::exists("/dev/full"));  // a device is never removed
  }
  EXPECT_EQ(EncodeJpegFile(path("p.jpg"), ImageBitmap(), 21, 24, 20, {}), ERROR_NO_BITMAP);
  EXPECT_EQ(EncodeJpegFile(path("p.jpg"), photo, 11, 24, 20, {}), ERROR_INV_PARAMETER);
  EXPECT_EQ(EncodeJpegFile(path("p.jpg"), photo, 21, 16, 20, {}), ERROR_BPP_NOT_SUPPORTED);
  EXPECT_EQ(EncodeJpegFile(path("p.jpg"), photo, 21, 24, 1, {}), ERROR_INV_PARAMETER);
  EXPECT_FALSE(QFileInfo::exists(path("p.jpg")));
}

TEST_F(JpegCodec, BytesBetweenTheStartAndTheNextMarkerMakeNoJpegForAnyReader) {
  // libjpeg skips such bytes, the file module does not take the file for a picture: the
  // thumbnail list, which reads through the codec, showed a picture and a description
  // that loading the photo and reading its description did not find.
  const QByteArray whole =
      ReadAll(encode("whole.jpg", MakePhoto(16, 16), 21, 24, 20, "a description"));
  for (const QByteArray& bytes : {whole.left(2) + "junk" + whole.mid(2),
                                  whole.left(2) + "\xDF" + whole.mid(3), whole.left(2)}) {
    const QString file = path("junk.jpg");
    WriteAll(file, bytes);
    ImageBitmap bmp = Sentinel();
    QString description = "kept";
    EXPECT_EQ(DecodeJpegFile(file, bmp, 0, &description), ERROR_FILE_FORMAT);
    EXPECT_EQ(DecodeJpegFileScaled(file, bmp, 0, 8, 8, &description), ERROR_FILE_FORMAT);
    EXPECT_EQ(bmp.Width, 3);
    EXPECT_EQ(ReadJpegDescription(file, description), ERROR_FILE_FORMAT);
    EXPECT_EQ(description, "kept");
    JpegInfo info;
    EXPECT_EQ(ReadJpegInfo(file, info), ERROR_FILE_FORMAT);
    FileInfo fileInfo;
    EXPECT_EQ(GetImageFileInfo(file, fileInfo), ERROR_FILE_FORMAT);
    EXPECT_EQ(LoadBitmapFile(file, bmp), ERROR_FILE_FORMAT);
    EXPECT_EQ(ReadFileComment(file, COMMENT_DESCRIPTION, nullptr), ERROR_FILE_FORMAT);
  }
  // Fill bytes before a marker are 0xFF, and allowed.
  WriteAll(path("filled.jpg"), whole.left(2) + "\xFF\xFF" + whole.mid(2));
  QString description;
  EXPECT_EQ(ReadJpegDescription(path("filled.jpg"), description), SUCCESS);
  EXPECT_EQ(description, "a description");
}

TEST_F(JpegCodec, ProgressIsReportedAndCanStopDecodeAndEncode) {
  const ImageBitmap photo = MakePhoto(1200, 900);
  const QString file = encode("progress.jpg", photo);
  std::vector<int> seen;
  {
    ProgressGuard guard([&](int percent) {
      seen.push_back(percent);
      return 1;
    });
    ImageBitmap bmp;
    ASSERT_EQ(DecodeJpegFile(file, bmp, 0), SUCCESS);
  }
  EXPECT_GE(seen.size(), 5u);
  EXPECT_LE(seen.size(), 40u);
  EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
  EXPECT_LE(seen.back(), 100);

  int calls = 0;
  ProgressGuard stop([&](int) { return ++calls < 3 ? 1 : 0; });
  ImageBitmap bmp = Sentinel();
  EXPECT_EQ(DecodeJpegFile(file, bmp, 0), ERROR_USER_ABORT);
  EXPECT_EQ(bmp.Width, 3);
  calls = 0;
  EXPECT_EQ(EncodeJpegFile(path("stopped.jpg"), photo, 21, 24, 20, {}), ERROR_USER_ABORT);
  EXPECT_FALSE(QFileInfo::exists(path("stopped.jpg")));
}
