#include "efx/ltefx.h"

namespace {
// A 32-bit copy of the picture in which the transparent colour can no longer change the
// device: for Copy it becomes fully transparent; for And it becomes white and for Or
// black, the values that leave what is there as it is.
ImageBitmap KeyedCopy(const ImageBitmap& bmp, QRgb key, RasterOp op) {
  ImageBitmap keyed;
  keyed.Width = bmp.Width;
  keyed.Height = bmp.Height;
  keyed.BitsPerPixel = 32;
  keyed.Order = bmp.Order;
  keyed.Perspective = bmp.Perspective;
  keyed.XResolution = bmp.XResolution;
  keyed.YResolution = bmp.YResolution;
  keyed.Pixels = BitmapToRgb32(bmp).convertToFormat(QImage::Format_ARGB32);
  if (keyed.Pixels.isNull()) return keyed;
  const QRgb wanted = key & 0x00ffffffu;
  const QRgb replacement = op == RasterOp::Copy  ? 0x00000000u
                           : op == RasterOp::And ? 0xffffffffu
                                                 : 0xff000000u;
  // A 24-bit picture's unused fourth byte reads as opaque after the conversion; a 32-bit
  // picture keeps its own alpha, which the comparison ignores.
  const int width = keyed.Pixels.width();
  for (int y = 0; y < keyed.Pixels.height(); ++y) {
    QRgb* line = reinterpret_cast<QRgb*>(keyed.Pixels.scanLine(y));
    for (int x = 0; x < width; ++x)
      if ((line[x] & 0x00ffffffu) == wanted) line[x] = replacement;
  }
  return keyed;
}
}  // namespace

int PaintTransparent(DeviceContext& dc, const ImageBitmap& bmp, const QRect& source,
                     const QRect& destination, const QRect& clip, QRgb transparentColour,
                     RasterOp op, const PaintEffect& effect) {
  if (!effect.transparent || !bmp.hasPixels())
    return PaintBitmap(dc, bmp, source, destination, clip, op);
  const ImageBitmap keyed = KeyedCopy(bmp, transparentColour, op);
  if (!keyed.hasPixels()) return ERROR_NO_MEMORY;
  return PaintBitmap(dc, keyed, source, destination, clip, op);
}

int LtEfxModuleVersion() { return 10; }
