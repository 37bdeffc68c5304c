#include <gtest/gtest.h>

#include <functional>

#include "labels/PageCells.h"

namespace {
// A picture with its own pixels, every one of this colour.
ImageBitmap Solid(int width, int height, QRgb colour,
                  QImage::Format format = QImage::Format_RGB32) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(colour);
  ImageBitmap bmp;
  SetBitmapImage(bmp, image.convertToFormat(format));
  return bmp;
}

ImageBitmap WithPixel(ImageBitmap bmp, QPoint at, QRgb colour) {
  bmp.Pixels.setPixel(at, colour);
  return bmp;
}

QRgb Pixel(const std::shared_ptr<ImageBitmap>& picture, QPoint at) {
  return picture->Pixels.pixel(at);
}
}  // namespace

TEST(LabelsPictures, OnlyEqualPicturesAreShared) {
  const ImageBitmap grey = Solid(64, 48, qRgb(90, 90, 90));
  struct Case {
    const char* what;
    ImageBitmap other;
    bool shared;
  };
  const Case cases[] = {
      {"the same pixels held apart", Solid(64, 48, qRgb(90, 90, 90)), true},
      {"a copy sharing the pixels", grey, true},
      {"equal first bytes, the last pixel other", WithPixel(grey, {63, 47}, qRgb(90, 90, 91)),
       false},
      {"the same bytes in another shape", Solid(48, 64, qRgb(90, 90, 90)), false},
      {"another depth", Solid(64, 48, qRgb(90, 90, 90), QImage::Format_Indexed8), false},
  };
  for (const Case& c : cases) {
    ImagePool pool;
    const std::shared_ptr<ImageBitmap> first = pool.Share(grey);
    const std::shared_ptr<ImageBitmap> second = pool.Share(c.other);
    EXPECT_EQ(first == second, c.shared) << c.what;
    EXPECT_EQ(pool.Size(), c.shared ? 1 : 2) << c.what;
  }
}

TEST(LabelsPictures, APictureNobodyHoldsIsFreed) {
  const ImageBitmap kept = Solid(40, 30, qRgb(0, 0, 255));
  const ImageBitmap alone = Solid(40, 30, qRgb(255, 0, 0));
  struct Case {
    const char* what;
    std::function<void(PageCells&)> act;
  };
  // Cell 2 alone holds the red picture; cells 0 and 1 the blue one.
  const Case cases[] = {
      {"cleared", [](PageCells& cells) { cells.Clear(2); }},
      {"rebuilt", [](PageCells& cells) { cells.Rebuild(3); }},
      {"made smaller", [](PageCells& cells) { cells.Resize(2); }},
      {"replaced",
       [&](PageCells& cells) { cells.Give(2, Solid(40, 30, qRgb(0, 255, 0)), "green"); }},
      {"moved onto", [](PageCells& cells) { cells.Move(0, 2); }},
  };
  for (const Case& c : cases) {
    PageCells cells;
    cells.Rebuild(3);
    cells.Give(0, kept, "blue");
    cells.Give(1, kept, "blue");
    cells.Give(2, alone, "red");
    const std::weak_ptr<ImageBitmap> base = cells.Cell(2).Base;
    const std::weak_ptr<ImageBitmap> working = cells.Cell(2).Working;
    ASSERT_EQ(cells.BasePool().Size(), 2);
    c.act(cells);
    EXPECT_TRUE(base.expired()) << c.what;
    EXPECT_TRUE(working.expired()) << c.what;
    EXPECT_EQ(cells.WorkingPool().Size(), cells.BasePool().Size()) << c.what;
  }

  // A picture another cell still holds stays.
  PageCells cells;
  cells.Rebuild(2);
  cells.Give(0, kept, "blue");
  cells.Give(1, kept, "blue");
  const std::weak_ptr<ImageBitmap> base = cells.Cell(0).Base;
  cells.Clear(0);
  EXPECT_FALSE(base.expired());
  EXPECT_EQ(cells.BasePool().Size(), 1);
}

TEST(LabelsPictures, AnEditShowsInEveryCellHoldingThePictureAndTheBaseStays) {
  PageCells cells;
  cells.Rebuild(4);
  // Equal pictures decoded apart, as one photo placed twice.
  cells.Give(0, Solid(40, 30, qRgb(0, 0, 255)), "blue");
  cells.Give(2, Solid(40, 30, qRgb(0, 0, 255)), "blue");
  const PageCell& first = cells.Cell(0);
  const PageCell& second = cells.Cell(2);
  EXPECT_EQ(first.Base, second.Base);
  EXPECT_EQ(first.Working, second.Working);
  // Until an edit the working picture is the base's pixels, not a copy.
  EXPECT_EQ(first.Working->Pixels.constBits(), first.Base->Pixels.constBits());

  ImageBitmap* edited = cells.WorkingPicture(0);
  ASSERT_NE(edited, nullptr);
  edited->Pixels.setPixel(5, 5, qRgb(255, 255, 0));
  cells.WorkingChanged(0);
  EXPECT_EQ(Pixel(second.Working, {5, 5}), qRgb(255, 255, 0));
  EXPECT_EQ(Pixel(first.Base, {5, 5}), qRgb(0, 0, 255));
  EXPECT_NE(first.Working->Pixels.constBits(), first.Base->Pixels.constBits());

  // The photo placed again comes as it is; the edited picture placed again is the edit.
  cells.Give(1, Solid(40, 30, qRgb(0, 0, 255)), "blue");
  EXPECT_EQ(cells.Cell(1).Base, first.Base);
  EXPECT_EQ(Pixel(cells.Cell(1).Working, {5, 5}), qRgb(0, 0, 255));
  const ImageBitmap copy = *cells.WorkingPicture(2);
  cells.Give(3, copy, "blue");
  EXPECT_EQ(cells.Cell(3).Working, first.Working);
}
