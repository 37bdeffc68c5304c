#pragma once

#include <memory>

#include <QImage>
#include <QPainter>

#include "dis/DeviceContext.h"
#include "krn/ImageBitmap.h"

// A device context that paints into a bitmap. It paints on a 32-bit copy of the picture as
// shown (ARGB32 premultiplied for 32-bit pictures, RGB32 for the others), never on the
// bitmap's own pixels, and writes the copy back at the bitmap's depth only in finish().
// Destruction without finish() drops the painting and does not touch the bitmap, so a
// context that outlives its bitmap (a member declared before it, say) is harmless.
class BitmapDeviceContext : public DeviceContext {
 public:
  // Null when the bitmap has no pixels or the canvas cannot be made.
  static std::unique_ptr<BitmapDeviceContext> open(ImageBitmap& bitmap);
  ~BitmapDeviceContext() override;

  // Ends painting and writes the canvas into the bitmap, which must still exist; later
  // calls do nothing.
  int finish();

 private:
  struct Canvas {
    QImage image;
    QPainter painter;
  };
  BitmapDeviceContext(ImageBitmap& bitmap, std::unique_ptr<Canvas> canvas, int dpiX, int dpiY);
  int writeBack();

  std::unique_ptr<Canvas> canvas_;
  ImageBitmap& bitmap_;
  // The bitmap as it was opened; a bitmap changed meanwhile is not overwritten.
  QSize openedSize_;
  int openedBits_;
  ViewPerspective openedPerspective_;
  bool finished_ = false;
};
