#include "photoedits/FrameComposite.h"

#include <cmath>

#include "dis/ltdis.h"
#include "efx/ltefx.h"
#include "img/ltimg.h"

FramePlacement PlaceInFrame(QSize photo, QSize frame, const FrameView& view) {
  FramePlacement placement;
  if (photo.isEmpty() || frame.isEmpty()) return placement;
  const double kx = double(photo.width()) / frame.width();
  const double ky = double(photo.height()) / frame.height();
  QPoint offset;
  if (photo.height() == frame.height()) {
    placement.Scaled = photo;
    offset = QPoint(int(2 * view.Pan.x() * kx), int(2 * view.Pan.y() * ky));
    // Always the frame's size: scaling the output by the photo's width over the frame's
    // would stretch the frame over a picture wider or narrower than itself.
    placement.Output = frame;
  } else {
    placement.Scaled = QSize(std::max(1, int(frame.height() * (double(photo.width()) / photo.height()))), frame.height());
    if (!view.Drawn.isEmpty())
      offset = QPoint(int(qint64(view.Pan.x()) * view.Client.width() / view.Drawn.width()),
                      int(qint64(view.Pan.y()) * view.Client.height() / view.Drawn.height()));
    placement.Output = frame;
  }
  const QSize s = placement.Scaled;
  QRect target(placement.Output.width() / 2 - s.width() / 2, placement.Output.height() / 2 - s.height() / 2,
               s.width(), s.height());
  target.translate(offset);
  if (view.Zoom <= 0) {
    // Level 0 takes 0.75 / 4 of the size off each side (0.625 of it is left); each level
    // below takes a quarter more of what is left, so zooming out always shrinks the photo.
    const double kept = 0.625 * std::pow(0.75, -view.Zoom);
    const int dx = int(s.width() * (1 - kept) / 2), dy = int(s.height() * (1 - kept) / 2);
    target.adjust(dx, dy, -dx, -dy);
  } else if (view.Zoom > 1) {
    const int dx = int(double(view.Zoom) * s.width() / 4), dy = int(double(view.Zoom) * s.height() / 4);
    target.adjust(-dx, -dy, dx, dy);
  }
  placement.Target = target;
  return placement;
}

int ComposeInFrame(const ImageBitmap& photo, const ImageBitmap& frame, const FrameView& view, ImageBitmap& result) {
  if (!photo.hasPixels() || !frame.hasPixels() || photo.isEmpty() || frame.isEmpty()) return ERROR_NO_BITMAP;
  const FramePlacement placement = PlaceInFrame(photo.shownSize(), frame.shownSize(), view);
  if (placement.Output.isEmpty()) return ERROR_INV_PARAMETER;
  ImageBitmap scaled = photo;
  if (placement.Scaled != photo.shownSize()) {
    const int code = ResizeBitmap(scaled, placement.Scaled.width(), placement.Scaled.height());
    if (code != SUCCESS) return code;
  }
  ImageBitmap framed;
  int code = CreateBitmap(framed, 1, placement.Output.width(), placement.Output.height(),
                          photo.BitsPerPixel <= 8 ? 24 : photo.BitsPerPixel, ColorOrder::Bgr, nullptr, TopLeft);
  if (code != SUCCESS) return code;
  FillBitmap(framed, qRgb(255, 255, 255));
  std::unique_ptr<DeviceContext> dc = CreateBitmapDC(framed);
  if (!dc) return ERROR_NO_MEMORY;
  const QRect whole(QPoint(0, 0), placement.Output);
  // A target shrunk to nothing by zooming out leaves only the frame.
  if (!placement.Target.isEmpty()) code = PaintBitmap(*dc, scaled, QRect(), placement.Target, QRect(), RasterOp::Copy);
  if (code == SUCCESS) code = PaintTransparent(*dc, frame, QRect(), whole, QRect(), qRgb(0, 0, 0));
  const int closed = DeleteBitmapDC(dc);
  if (code != SUCCESS) return code;
  if (closed != SUCCESS) return closed;
  FinishBitmap(framed, 0);
  result = std::move(framed);
  return SUCCESS;
}
