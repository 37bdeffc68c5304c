// Where crops and frames fall, as plain functions of sizes, and the pictures they make.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "editing/CropGeometry.h"
#include "editing/CropToShape.h"
#include "photoedits/FrameComposite.h"
#include "photoedits/FrameFolder.h"
#include "fil/ltfil.h"

namespace {
ImageBitmap Pattern(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) image.setPixel(x, y, qRgb(x % 251, y % 241, (x + y) % 7 * 30));
  ImageBitmap bmp;
  SetBitmapImage(bmp, image);
  return bmp;
}
const QRgb kWhite = qRgb(255, 255, 255);
}  // namespace

TEST(CropGeometry, ShapesSizeFromTheirFactorsWithinThePicture) {
  struct Case {
    QSize picture;
    int heightFactor, widthFactor;
    QRect expected;
  };
  const Case cases[] = {
      {{1000, 600}, 5, 10, QRect(0, 200, 1000, 200)},    // Wide Oval: full width, a third of the height
      {{1000, 600}, 10, 10, QRect(0, 100, 1000, 400)},   // Square: two thirds of the height
      {{1000, 600}, 15, 10, QRect(0, 0, 1000, 600)},     // the tallest is the full height
      {{1000, 600}, 10, 5, QRect(250, 100, 500, 400)},
      {{150, 150}, 10, 5, QRect(25, 25, 100, 100)},      // at least 100 wide, not 75
      {{80, 60}, 5, 5, QRect(0, 0, 80, 60)},             // never more than the picture
      {{6000, 4000}, 5, 5, QRect(1500, 1334, 3000, 1333)},
  };
  for (const Case& c : cases) EXPECT_EQ(CropShapeRect(c.picture, c.heightFactor, c.widthFactor), c.expected);
  ASSERT_EQ(CropShapes().size(), 6u);
  EXPECT_STREQ(CropShapes()[4].Name, "Wide Oval");
  EXPECT_TRUE(CropShapes()[5].Ellipse);
  EXPECT_FALSE(CropShapes()[2].Ellipse);

  // The preview shows a 1000 x 600 picture at 500 x 300 in a 500 x 400 client.
  const QSize picture(1000, 600), client(500, 400), drawn(500, 300);
  EXPECT_EQ(CropSourceRect(picture, client, drawn, QPoint()), QRect(0, -100, 1000, 800));
  EXPECT_EQ(PanInPicture(picture, drawn, QPoint(50, -30)), QPoint(100, -60));
  // Dragged right by 50 screen pixels, the outline stays put: the shape and the visible part
  // both move 100 picture pixels left.
  EXPECT_EQ(CropSourceRect(picture, client, drawn, QPoint(50, 0)), QRect(-100, -100, 1000, 800));
  EXPECT_EQ(CropRegionRect(picture, 10, 5, drawn, QPoint(50, 0)), QRect(150, 100, 500, 400));
  EXPECT_EQ(CropSourceRect(picture, client, QSize(), QPoint(5, 5)), QRect(0, 0, 1000, 600));
}

TEST(CropToShape, KeepsWhatIsUnderTheShapeAndWhitensTheRest) {
  const ImageBitmap picture = Pattern(400, 300);
  const QImage source = picture.Pixels;
  for (bool ellipse : {false, true}) {
    CropArea area{QRect(-40, 20, 480, 260), QRect(60, 50, 200, 150), true, ellipse};
    ImageBitmap result;
    ASSERT_EQ(CropToShape(picture, area, result), SUCCESS);
    ASSERT_EQ(result.Pixels.size(), QSize(480, 260));
    const QRectF shape(area.Shape);
    for (int y = 0; y < 260; ++y)
      for (int x = 0; x < 480; ++x) {
        const QPoint at(x + area.Source.left(), y + area.Source.top());
        const QPointF centre(at.x() + 0.5, at.y() + 0.5);
        const double ex = (centre.x() - shape.center().x()) / (shape.width() / 2);
        const double ey = (centre.y() - shape.center().y()) / (shape.height() / 2);
        const bool inside = ellipse ? ex * ex + ey * ey < 0.97 : shape.contains(centre);
        const bool outside = ellipse ? ex * ex + ey * ey > 1.03 : !shape.adjusted(-1, -1, 1, 1).contains(centre);
        const QRgb got = result.Pixels.pixel(x, y) | 0xff000000u;
        if (inside) {
          ASSERT_EQ(got, source.pixel(at)) << x << "," << y << " ellipse " << ellipse;
        }
        if (outside) {
          ASSERT_EQ(got, kWhite) << x << "," << y << " ellipse " << ellipse;
        }
      }
  }
  // Without a shape the visible part is kept whole; a shape dragged off the picture keeps
  // nothing.
  ImageBitmap whole;
  ASSERT_EQ(CropToShape(picture, CropArea{QRect(10, 10, 100, 80), QRect(), false, false}, whole), SUCCESS);
  EXPECT_EQ(whole.Pixels.pixel(5, 5) | 0xff000000u, source.pixel(15, 15));
  ImageBitmap gone;
  ASSERT_EQ(CropToShape(picture, CropArea{QRect(0, 0, 400, 300), QRect(900, 900, 50, 50), true, true}, gone), SUCCESS);
  EXPECT_EQ(gone.Pixels.pixel(200, 150) | 0xff000000u, kWhite);
  EXPECT_TRUE(gone.Region.isEmpty());
}

TEST(FrameComposite, PlacesThePhotoAsThePreviewShowedIt) {
  FrameView view{QPoint(), 1, QSize(400, 300), QSize(400, 300)};
  FramePlacement p = PlaceInFrame(QSize(1600, 1200), QSize(400, 300), view);
  EXPECT_EQ(p.Output, QSize(400, 300));
  EXPECT_EQ(p.Scaled, QSize(400, 300));
  EXPECT_EQ(p.Target, QRect(0, 0, 400, 300));
  view.Zoom = 2;
  EXPECT_EQ(PlaceInFrame(QSize(1600, 1200), QSize(400, 300), view).Target, QRect(-200, -150, 800, 600));
  view.Zoom = 0;  // 0.625 of the size, while the preview shows 0.5625
  EXPECT_EQ(PlaceInFrame(QSize(1600, 1200), QSize(400, 300), view).Target.size(), QSize(250, 188));
  // Zooming further out goes on shrinking the photo.
  int width = 400;
  for (int zoom = 0; zoom >= -30; --zoom) {
    view.Zoom = zoom;
    const int next = PlaceInFrame(QSize(1600, 1200), QSize(400, 300), view).Target.width();
    EXPECT_LE(next, width) << zoom;
    if (width > 20) {
      EXPECT_LT(next, width) << zoom;
    }
    width = next;
  }
  EXPECT_LE(width, 2);
  view = FrameView{QPoint(20, -10), 1, QSize(400, 300), QSize(200, 150)};
  EXPECT_EQ(PlaceInFrame(QSize(1600, 1200), QSize(400, 300), view).Target.topLeft(), QPoint(40, -20));
  // A photo as tall as the frame is not scaled.
  view = FrameView{QPoint(10, 0), 1, QSize(400, 300), QSize(400, 300)};
  p = PlaceInFrame(QSize(400, 300), QSize(400, 300), view);
  EXPECT_EQ(p.Output, QSize(400, 300));
  EXPECT_EQ(p.Target, QRect(20, 0, 400, 300));
  // As tall but wider than the frame: the frame's size still, the photo centred behind it.
  p = PlaceInFrame(QSize(800, 600), QSize(456, 600), FrameView{});
  EXPECT_EQ(p.Output, QSize(456, 600));
  EXPECT_EQ(p.Target, QRect(-172, 0, 800, 600));
  EXPECT_TRUE(PlaceInFrame(QSize(400, 300), QSize(), view).Output.isEmpty());
}

TEST(FrameComposite, EveryShippedFrameAndEdgeShowsThePhotoThroughItsHoleOnly) {
  const QRgb photoColour = qRgb(10, 200, 30);
  ImageBitmap photo;
  CreateBitmap(photo, 1, 1600, 1200, 24, ColorOrder::Bgr, nullptr, TopLeft);
  FillBitmap(photo, photoColour);
  int checked = 0;
  for (const char* folder : {"frames/", "edges/"}) {
    const QString path = QString::fromUtf8(BRIVANE_PROGRAM_DIR) + folder;
    const std::vector<FrameItem> items = ListFrames(path, HoleFill::BlackAtCentre);
    ASSERT_FALSE(items.empty()) << folder;
    for (const FrameItem& item : items) {
      EXPECT_EQ(item.Thumbnail.Pixels.size(), QSize(kFrameThumbnailWidth, kFrameThumbnailHeight));
      ImageBitmap frame;
      ASSERT_TRUE(LoadFrame(path, item.Name, frame)) << item.Name.toStdString();
      ImageBitmap framed;
      for (int zoom : {-3, 1, 4}) {
        const FrameView view{QPoint(), zoom, QSize(400, 300), QSize(400, 300)};
        ASSERT_EQ(ComposeInFrame(photo, frame, view, framed), SUCCESS) << item.Name.toStdString();
        ASSERT_EQ(framed.Pixels.size(), frame.Pixels.size());
        const QImage out = framed.Pixels.convertToFormat(QImage::Format_RGB32);
        const QImage mask = frame.Pixels.convertToFormat(QImage::Format_RGB32);
        int shown = 0;
        for (int y = 0; y < out.height(); ++y)
          for (int x = 0; x < out.width(); ++x) {
            const bool hole = (mask.pixel(x, y) & 0xffffffu) == 0;
            const QRgb got = out.pixel(x, y) | 0xff000000u;
            // No black of the frame is left: its hole shows the photo or, zoomed out, white.
            if (hole) {
              ASSERT_TRUE(got == photoColour || got == kWhite || zoom != 1) << x << "," << y;
            }
            if (!hole) {
              ASSERT_EQ(got, mask.pixel(x, y) | 0xff000000u) << item.Name.toStdString();
            }
            shown += got == photoColour;
          }
        if (zoom >= 1) {
          EXPECT_GT(shown, out.width() * out.height() / 20) << item.Name.toStdString();
        }
      }
      ++checked;
    }
  }
  EXPECT_GE(checked, 12);
  ImageBitmap none;
  ImageBitmap framed;
  EXPECT_EQ(ComposeInFrame(photo, none, FrameView{}, framed), ERROR_NO_BITMAP);
}

TEST(FrameFolder, ListsOnlyFilesThatLoadAsPictures) {
  QTemporaryDir dir;
  const QString folder = dir.path() + "/";
  QFile text(folder + "Broken.gif");
  ASSERT_TRUE(text.open(QIODevice::WriteOnly));
  text.write("GIF89a but not really");
  text.close();
  EXPECT_TRUE(ListFrames(folder, HoleFill::BlackAtCentre).empty());
  QDir().mkpath(folder + "Sub.gif");
  QImage frame(120, 90, QImage::Format_RGB32);
  frame.fill(qRgb(200, 150, 40));
  for (int y = 20; y < 70; ++y)
    for (int x = 30; x < 90; ++x) frame.setPixel(x, y, qRgb(0, 0, 0));
  ImageBitmap gold;
  SetBitmapImage(gold, frame);
  ASSERT_EQ(SaveImageFile(folder + "Gold.gif", gold, FormatForExtension("gif"), 8, 2), SUCCESS);
  ASSERT_TRUE(frame.save(folder + "Plain.png"));  // listed, though its GIF is missing
  const std::vector<FrameItem> items = ListFrames(folder, HoleFill::BlackAtCentre);
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[0].Name, "Gold");
  EXPECT_EQ(items[1].Name, "Plain");
  // The hole of the thumbnail is white, the frame keeps its colour.
  EXPECT_EQ(items[0].Thumbnail.Pixels.pixel(32, 24) | 0xff000000u, kWhite);
  EXPECT_EQ(items[0].Thumbnail.Pixels.pixel(2, 2) | 0xff000000u, qRgb(200, 150, 40));
  ImageBitmap loaded;
  EXPECT_TRUE(LoadFrame(folder, "Gold", loaded));
  EXPECT_FALSE(LoadFrame(folder, "Plain", loaded));
  EXPECT_TRUE(ListFrames(folder + "missing/", HoleFill::ColourAtPoint).empty());
  EXPECT_TRUE(ListFrames(folder + "Gold.gif/", HoleFill::ColourAtPoint).empty());
}
