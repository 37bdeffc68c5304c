#include <climits>

#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPicture>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "dis/ltdis.h"
#include "support/RequireTool.h"

namespace {
ImageBitmap Picture(int width, int height, const QList<QRgb>& colours) {
  ImageBitmap bmp;
  QImage image(width, height, QImage::Format_RGB32);
  for (int i = 0; i < width * height; ++i) image.setPixel(i % width, i / width, colours[i]);
  SetBitmapImage(bmp, image);
  return bmp;
}

ImageBitmap Solid(int width, int height, QRgb colour) {
  return Picture(width, height, QList<QRgb>(width * height, colour));
}

QImage Canvas(int width, int height, QRgb colour, QImage::Format format = QImage::Format_RGB32) {
  QImage image(width, height, format);
  image.fill(QColor::fromRgba(colour));
  return image;
}

// Paints onto image through a device context of its size.
int PaintOn(QImage& image, const ImageBitmap& bmp, QRect source, QRect dest, QRect clip,
            RasterOp op, bool inRegion = false) {
  QPainter painter(&image);
  DeviceContext dc(painter, image.size());
  return inRegion ? PaintBitmapInRegion(dc, bmp, source, dest, clip, op)
                  : PaintBitmap(dc, bmp, source, dest, clip, op);
}

QRgb At(const QImage& image, int x, int y) { return image.pixel(x, y) | 0xff000000u; }

const QRgb kUnder = qRgb(0xCC, 0xF0, 0x0F);
const QRgb kPicture = qRgb(0xAA, 0x55, 0xFF);
const QRgb kAnd = qRgb(0x88, 0x50, 0x0F);
const QRgb kOr = qRgb(0xEE, 0xF5, 0xFF);
}  // namespace

TEST(DisplayPaint, RasterOpsAreBitwiseOnEveryImageFormat) {
  const ImageBitmap bmp = Solid(2, 2, kPicture);
  for (QImage::Format format :
       {QImage::Format_RGB32, QImage::Format_ARGB32, QImage::Format_ARGB32_Premultiplied,
        QImage::Format_RGB888, QImage::Format_BGR888, QImage::Format_RGBA8888,
        QImage::Format_RGBX64, QImage::Format_A2RGB30_Premultiplied}) {
    for (auto [op, expected] : {std::pair{RasterOp::Copy, kPicture}, {RasterOp::And, kAnd},
                                {RasterOp::Or, kOr}}) {
      QImage image = Canvas(4, 4, kUnder, format);
      ASSERT_EQ(PaintOn(image, bmp, QRect(), QRect(1, 1, 2, 2), QRect(), op), SUCCESS);
      EXPECT_EQ(At(image, 1, 1), expected) << format << " op " << int(op);
      EXPECT_EQ(At(image, 2, 2), expected) << format << " op " << int(op);
      EXPECT_EQ(At(image, 0, 0), kUnder) << format;
      EXPECT_EQ(At(image, 3, 3), kUnder) << format;
    }
  }
  // A grey device keeps grey: 0xCC & 0xAA, 0xCC | 0xAA.
  const ImageBitmap grey = Solid(1, 1, qRgb(0xAA, 0xAA, 0xAA));
  QImage image = Canvas(2, 1, qRgb(0xCC, 0xCC, 0xCC), QImage::Format_Grayscale8);
  PaintOn(image, grey, QRect(), QRect(0, 0, 1, 1), QRect(), RasterOp::And);
  PaintOn(image, grey, QRect(), QRect(1, 0, 1, 1), QRect(), RasterOp::Or);
  EXPECT_EQ(qGray(image.pixel(0, 0)), 0x88);
  EXPECT_EQ(qGray(image.pixel(1, 0)), 0xEE);
}

TEST(DisplayPaint, StretchShrinkAndExactCopies) {
  const QRgb a = qRgb(255, 0, 0), b = qRgb(0, 255, 0), c = qRgb(0, 0, 255), d = qRgb(9, 9, 9);
  const ImageBitmap bmp = Picture(2, 2, {a, b, c, d});
  QImage image = Canvas(6, 6, qRgb(1, 2, 3));
  ASSERT_EQ(PaintOn(image, bmp, QRect(), QRect(1, 1, 4, 4), QRect(), RasterOp::Copy), SUCCESS);
  EXPECT_EQ(At(image, 1, 1), a);
  EXPECT_EQ(At(image, 4, 1), b);
  EXPECT_EQ(At(image, 1, 4), c);
  EXPECT_EQ(At(image, 4, 4), d);
  EXPECT_NE(At(image, 2, 1), a);  // smooth, not blocky
  EXPECT_EQ(At(image, 0, 0), qRgb(1, 2, 3));
  EXPECT_EQ(At(image, 5, 5), qRgb(1, 2, 3));

  // Blocks of 2x2 shrink to their colours; a source part copies 1:1.
  QList<QRgb> blocks(16);
  for (int i = 0; i < 16; ++i) blocks[i] = (i % 4 < 2) == (i / 4 < 2) ? a : d;
  QImage small = Canvas(2, 2, 0);
  PaintOn(small, Picture(4, 4, blocks), QRect(), QRect(0, 0, 2, 2), QRect(), RasterOp::Copy);
  EXPECT_EQ(At(small, 0, 0), a);
  EXPECT_EQ(At(small, 1, 0), d);
  EXPECT_EQ(At(small, 1, 1), a);
  QImage part = Canvas(3, 1, 0);
  PaintOn(part, bmp, QRect(1, 0, 1, 2), QRect(2, 0, 1, 2), QRect(), RasterOp::Copy);
  EXPECT_EQ(At(part, 2, 0), b);

  // 1:1 painting of a picture with every kind of pixel is a plain copy.
  QList<QRgb> noise(64 * 48);
  for (int i = 0; i < noise.size(); ++i) noise[i] = qRgb(i * 7 % 256, i * 13 % 256, i % 251);
  const ImageBitmap busy = Picture(64, 48, noise);
  QImage copy = Canvas(64, 48, 0);
  PaintOn(copy, busy, QRect(), QRect(0, 0, 64, 48), QRect(), RasterOp::Copy);
  EXPECT_EQ(copy, busy.Pixels);
}

TEST(DisplayPaint, ClipAndSourceOutsideThePicture) {
  const ImageBitmap bmp = Solid(4, 4, kPicture);
  QImage image = Canvas(4, 4, kUnder);
  PaintOn(image, bmp, QRect(), QRect(0, 0, 4, 4), QRect(1, 1, 2, 1), RasterOp::Copy);
  EXPECT_EQ(At(image, 1, 1), kPicture);
  EXPECT_EQ(At(image, 2, 1), kPicture);
  EXPECT_EQ(At(image, 1, 2), kUnder);
  EXPECT_EQ(At(image, 0, 1), kUnder);

  // Half of the source lies left of the picture: the right half of the destination shows it.
  QImage half = Canvas(8, 1, kUnder);
  ASSERT_EQ(PaintOn(half, Solid(2, 1, kPicture), QRect(-2, 0, 4, 1), QRect(0, 0, 8, 1),
                    QRect(), RasterOp::Copy),
            SUCCESS);
  for (int x = 0; x < 8; ++x) EXPECT_EQ(At(half, x, 0), x < 4 ? kUnder : kPicture) << x;
}

TEST(DisplayPaint, HostileRectanglesNeverReachOutside) {
  ImageBitmap bmp = Solid(3, 3, kPicture);
  SetEllipseRegion(bmp, QRect(0, 0, 3, 3));
  const QPoint lo(INT_MIN, INT_MIN), hi(INT_MAX, INT_MAX);
  const QList<QRect> rects = {
      QRect(), QRect(lo, hi), QRect(lo, QPoint(0, 0)), QRect(QPoint(0, 0), hi),
      QRect(hi, hi), QRect(lo, lo), QRect(hi, lo), QRect(5, 5, -3, -3), QRect(-10, -10, 4, 4),
      QRect(1, 1, 1, 1), QRect(2, -5, 1, 100), QRect(QPoint(INT_MAX - 1, 0), QPoint(INT_MAX, 2))};
  for (const QRect& source : rects)
    for (const QRect& dest : rects)
      for (const QRect& clip : {QRect(), QRect(lo, hi), QRect(1, 1, 2, 2)}) {
        QImage inner = Canvas(3, 3, kUnder);
        const int rc = PaintOn(inner, bmp, source, dest, clip, RasterOp::Or, true);
        EXPECT_TRUE(rc == SUCCESS || rc == ERROR_INV_PARAMETER);
        PaintOn(inner, bmp, source, dest, clip, RasterOp::Copy);
      }
  // The one visible pixel of an immense destination is the picture's.
  QImage image = Canvas(3, 3, kUnder);
  ASSERT_EQ(PaintOn(image, Solid(1, 1, kPicture), QRect(), QRect(lo, hi), QRect(),
                    RasterOp::Copy),
            SUCCESS);
  EXPECT_EQ(At(image, 1, 1), kPicture);
}

TEST(DisplayPaint, PerspectiveAndPaletteShowThePictureRightWayRound) {
  const QRgb a = qRgb(1, 0, 0), b = qRgb(2, 0, 0), c = qRgb(3, 0, 0), d = qRgb(4, 0, 0),
             e = qRgb(5, 0, 0), f = qRgb(6, 0, 0);
  ImageBitmap bmp = Picture(3, 2, {a, b, c, d, e, f});  // a b c / d e f
  const struct {
    ViewPerspective perspective;
    QSize size;
    QList<QRgb> shown;
  } cases[] = {{TopRight, {3, 2}, {c, b, a, f, e, d}},  {BottomRight, {3, 2}, {f, e, d, c, b, a}},
               {BottomLeft, {3, 2}, {d, e, f, a, b, c}}, {LeftTop, {2, 3}, {a, d, b, e, c, f}},
               {RightTop, {2, 3}, {d, a, e, b, f, c}},   {RightBottom, {2, 3}, {f, c, e, b, d, a}},
               {LeftBottom, {2, 3}, {c, f, b, e, a, d}}};
  for (const auto& expected : cases) {
    bmp.Perspective = expected.perspective;
    QImage image = Canvas(expected.size.width(), expected.size.height(), 0);
    ASSERT_EQ(PaintOn(image, bmp, QRect(), QRect(QPoint(0, 0), expected.size), QRect(),
                      RasterOp::Copy),
              SUCCESS);
    for (int i = 0; i < expected.shown.size(); ++i)
      EXPECT_EQ(At(image, i % expected.size.width(), i / expected.size.width()),
                expected.shown[i])
          << expected.perspective << " pixel " << i;
    EXPECT_EQ(MakeDeviceBitmap(bmp).pixel(0, 0), expected.shown[0]);
  }

  ImageBitmap indexed;
  ASSERT_EQ(CreateBitmap(indexed, 1, 2, 1, 1, ColorOrder::Bgr, nullptr, TopLeft), SUCCESS);
  indexed.Pixels.setColorTable({qRgb(200, 0, 0), qRgb(0, 0, 200)});
  indexed.Pixels.setPixel(1, 0, 1);
  QImage image = Canvas(2, 1, 0);
  PaintOn(image, indexed, QRect(), QRect(0, 0, 2, 1), QRect(), RasterOp::Copy);
  EXPECT_EQ(At(image, 0, 0), qRgb(200, 0, 0));
  EXPECT_EQ(At(image, 1, 0), qRgb(0, 0, 200));
}

TEST(DisplayPaint, InRegionPaintsOnlyInsideAtAnyScale) {
  ImageBitmap bmp = Solid(4, 4, kPicture);
  ASSERT_EQ(SetRectRegion(bmp, QRect(2, 0, 2, 4)), SUCCESS);
  QImage image = Canvas(8, 8, kUnder);
  ASSERT_EQ(PaintOn(image, bmp, QRect(), QRect(0, 0, 8, 8), QRect(), RasterOp::And, true),
            SUCCESS);
  for (int x = 0; x < 8; ++x) EXPECT_EQ(At(image, x, 5), x < 4 ? kUnder : kAnd) << x;
  FreeBitmapRegion(bmp);
  QImage none = Canvas(4, 4, kUnder);
  PaintOn(none, bmp, QRect(), QRect(0, 0, 4, 4), QRect(), RasterOp::Copy, true);
  EXPECT_EQ(At(none, 2, 2), kUnder);
}

TEST(DisplayPaint, DevicesThatCannotBeReadCombineWithWhatWasPainted) {
  // A QPicture, like a printer or PDF writer, keeps drawing commands, not pixels.
  QPicture picture;
  {
    QPainter painter(&picture);
    DeviceContext dc(painter, QSize(4, 1));
    PaintBitmap(dc, Solid(2, 1, kUnder), QRect(), QRect(0, 0, 2, 1), QRect(), RasterOp::Copy);
    PaintBitmap(dc, Solid(4, 1, kPicture), QRect(), QRect(0, 0, 4, 1), QRect(), RasterOp::And);
    PaintBitmap(dc, Solid(1, 1, qRgb(1, 1, 1)), QRect(), QRect(3, 0, 1, 1), QRect(),
                RasterOp::Or);
  }
  QImage image = Canvas(4, 1, qRgb(0, 0, 0));
  QPainter(&image).drawPicture(0, 0, picture);
  EXPECT_EQ(At(image, 0, 0), kAnd);
  EXPECT_EQ(At(image, 2, 0), kPicture);  // white paper & picture
  EXPECT_EQ(At(image, 3, 0), kPicture | qRgb(1, 1, 1));

  // A new page starts from blank paper.
  QPicture second;
  {
    QPainter painter(&second);
    DeviceContext dc(painter, QSize(1, 1));
    PaintBitmap(dc, Solid(1, 1, kUnder), QRect(), QRect(0, 0, 1, 1), QRect(), RasterOp::Copy);
    EXPECT_FALSE(dc.newPage());  // a picture has no pages, but the record is forgotten
    PaintBitmap(dc, Solid(1, 1, kPicture), QRect(), QRect(0, 0, 1, 1), QRect(), RasterOp::And);
  }
  QPainter(&image).drawPicture(0, 0, second);
  EXPECT_EQ(At(image, 0, 0), kPicture);
}

TEST(DisplayPaint, PdfPagesCombineBitwise) {
  if (!RequireTool("pdftoppm", "poppler-utils")) return;
  QTemporaryDir dir;
  const QString pdf = dir.filePath("page.pdf");
  {
    QPdfWriter writer(pdf);
    writer.setResolution(72);
    writer.setPageSize(QPageSize(QSizeF(1, 1), QPageSize::Inch));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter painter(&writer);
    DeviceContext dc(painter, QSize(72, 72), 72, 72);
    PaintBitmap(dc, Solid(8, 8, kUnder), QRect(), QRect(0, 0, 36, 72), QRect(), RasterOp::Copy);
    PaintBitmap(dc, Solid(8, 8, kPicture), QRect(), QRect(0, 0, 72, 36), QRect(), RasterOp::And);
    PaintBitmap(dc, Solid(8, 8, kPicture), QRect(), QRect(0, 36, 72, 36), QRect(), RasterOp::Or);
  }
  ASSERT_EQ(QProcess::execute("pdftoppm", {"-r", "72", "-png", "-singlefile", pdf,
                                           dir.filePath("page")}),
            0);
  const QImage page(dir.filePath("page.png"));
  ASSERT_EQ(page.size(), QSize(72, 72));
  const auto near = [](QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) <= 2 && std::abs(qGreen(a) - qGreen(b)) <= 2 &&
           std::abs(qBlue(a) - qBlue(b)) <= 2;
  };
  EXPECT_TRUE(near(page.pixel(10, 10), kAnd)) << std::hex << page.pixel(10, 10);
  EXPECT_TRUE(near(page.pixel(60, 10), kPicture)) << std::hex << page.pixel(60, 10);
  EXPECT_TRUE(near(page.pixel(10, 60), kOr)) << std::hex << page.pixel(10, 60);
  EXPECT_TRUE(near(page.pixel(60, 60), qRgb(255, 255, 255))) << std::hex << page.pixel(60, 60);
}

TEST(DisplayBitmapDC, PaintsIntoTheBitmapAndKeepsItsDepth) {
  for (int bits : {1, 4, 8}) {
    ImageBitmap bmp;
    ASSERT_EQ(CreateBitmap(bmp, 1, 5, 3, bits, ColorOrder::Bgr, nullptr, TopLeft), SUCCESS);
    bmp.XResolution = 300;
    const QList<QRgb> palette = bmp.palette();
    bmp.Pixels.setPixel(4, 2, uint(palette.size() - 1));
    auto dc = CreateBitmapDC(bmp);
    ASSERT_TRUE(dc);
    EXPECT_EQ(dc->size(), QSize(5, 3));
    EXPECT_EQ(dc->dpiX(), 300);
    EXPECT_EQ(dc->dpiY(), 96);
    dc->painter().fillRect(QRect(0, 0, 2, 1), Qt::white);
    ASSERT_EQ(DeleteBitmapDC(dc), SUCCESS);
    EXPECT_FALSE(dc);
    EXPECT_EQ(bmp.BitsPerPixel, bits);
    EXPECT_EQ(bmp.Pixels.format(), QImage::Format_Indexed8);
    EXPECT_EQ(bmp.palette(), palette);
    EXPECT_EQ(bmp.Pixels.pixelIndex(0, 0), palette.size() - 1) << bits;
    EXPECT_EQ(bmp.Pixels.pixelIndex(2, 0), 0);
    EXPECT_EQ(bmp.Pixels.pixelIndex(4, 2), palette.size() - 1);
  }

  // Raster operations through a bitmap's context, transparency kept, shown orientation.
  ImageBitmap target = Solid(2, 2, kUnder);
  target.Perspective = BottomLeft;
  auto dc = CreateBitmapDC(target);
  PaintBitmap(*dc, Solid(1, 1, kPicture), QRect(), QRect(0, 0, 1, 1), QRect(), RasterOp::And);
  PaintBitmap(*dc, Solid(1, 1, kPicture), QRect(), QRect(1, 0, 1, 1), QRect(), RasterOp::Or);
  ASSERT_EQ(DeleteBitmapDC(dc), SUCCESS);
  EXPECT_EQ(At(target.Pixels, 0, 1), kAnd);  // the top row shown is the bottom row stored
  EXPECT_EQ(At(target.Pixels, 1, 1), kOr);
  EXPECT_EQ(At(target.Pixels, 0, 0), kUnder);

  ImageBitmap glass;
  SetBitmapImage(glass, Canvas(2, 1, qRgba(10, 20, 30, 40), QImage::Format_ARGB32));
  ASSERT_EQ(glass.BitsPerPixel, 32);
  dc = CreateBitmapDC(glass);
  dc->painter().fillRect(QRect(1, 0, 1, 1), Qt::red);
  ASSERT_EQ(DeleteBitmapDC(dc), SUCCESS);
  EXPECT_EQ(qAlpha(glass.Pixels.pixel(0, 0)), 40);
  EXPECT_EQ(glass.Pixels.pixel(1, 0), qRgba(255, 0, 0, 255));

  // A quarter-turned picture is painted as shown: its shown top-left is stored bottom-left.
  ImageBitmap turned = Solid(3, 2, kUnder);
  turned.Perspective = RightTop;
  dc = CreateBitmapDC(turned);
  EXPECT_EQ(dc->size(), QSize(2, 3));
  dc->painter().fillRect(QRect(0, 0, 1, 1), QColor(kPicture));
  ASSERT_EQ(DeleteBitmapDC(dc), SUCCESS);
  EXPECT_EQ(At(turned.Pixels, 0, 1), kPicture);
  EXPECT_EQ(At(turned.Pixels, 0, 0), kUnder);

  // Dropped without DeleteBitmapDC, a context leaves the bitmap alone.
  CreateBitmapDC(turned)->painter().fillRect(QRect(0, 0, 2, 3), Qt::black);
  EXPECT_EQ(At(turned.Pixels, 1, 1), kUnder);
}

TEST(DisplayBitmapDC, RefusesWhatItCannotWriteBack) {
  ImageBitmap empty;
  EXPECT_FALSE(CreateBitmapDC(empty));
  QImage image(1, 1, QImage::Format_RGB32);
  QPainter painter(&image);
  std::unique_ptr<DeviceContext> plain = std::make_unique<DeviceContext>(painter, QSize(1, 1));
  EXPECT_EQ(DeleteBitmapDC(plain), ERROR_INV_PARAMETER);
  EXPECT_TRUE(plain);

  ImageBitmap bmp = Solid(4, 4, kUnder);
  auto dc = CreateBitmapDC(bmp);
  dc->painter().fillRect(QRect(0, 0, 4, 4), Qt::black);
  ResizeBitmap(bmp, 2, 2);
  EXPECT_EQ(DeleteBitmapDC(dc), ERROR_FAILURE);
  EXPECT_EQ(bmp.Pixels.size(), QSize(2, 2));
  EXPECT_EQ(At(bmp.Pixels, 0, 0), kUnder);
}

TEST(DisplayDeviceBitmap, RoundTripsAndKeepsTransparencyOnlyWhenThere) {
  const ImageBitmap bmp = Solid(3, 2, kPicture);
  const QImage device = MakeDeviceBitmap(bmp);
  EXPECT_EQ(device.format(), QImage::Format_ARGB32_Premultiplied);
  ImageBitmap back;
  ASSERT_EQ(ConvertFromDeviceBitmap(back, device), SUCCESS);
  EXPECT_EQ(back.BitsPerPixel, 24);
  EXPECT_EQ(back.Pixels, bmp.Pixels);

  QImage glass = device;
  glass.setPixel(0, 0, qRgba(0, 0, 0, 0));
  ASSERT_EQ(ConvertFromDeviceBitmap(back, glass), SUCCESS);
  EXPECT_EQ(back.BitsPerPixel, 32);
  EXPECT_EQ(qAlpha(back.Pixels.pixel(0, 0)), 0);
  EXPECT_EQ(ConvertFromDeviceBitmap(back, QImage()), ERROR_NO_BITMAP);
  EXPECT_TRUE(MakeDeviceBitmap(ImageBitmap()).isNull());
}
