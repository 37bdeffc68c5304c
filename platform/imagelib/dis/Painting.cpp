#include "dis/DevicePixels.h"
#include "dis/PaintLayer.h"
#include "dis/PaperRecord.h"
#include "dis/RasterCombine.h"
#include "dis/ltdis.h"

namespace {
int Paint(DeviceContext& dc, const ImageBitmap& bmp, const QRect& source,
          const QRect& destination, const QRect& clip, RasterOp op, bool inRegion) {
  QPainter& painter = dc.painter();
  if (!painter.isActive()) return ERROR_INV_PARAMETER;
  const PaintRequest request{&bmp, source, destination, clip, inRegion};
  PaintLayer layer;
  if (const int rc = RenderPaintLayer(request, dc.size(), QRect(), layer); rc != SUCCESS)
    return rc;
  if (layer.area.isEmpty()) return SUCCESS;

  painter.save();
  // Rectangles are device pixels and the pixels go on as they are, whatever transform,
  // opacity or mode the caller left on the painter.
  painter.resetTransform();
  painter.setOpacity(1.0);
  painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
  const bool readable = CanReadDevicePixels(painter);
  QImage drawn;
  if (op == RasterOp::Copy) {
    drawn = MaskedForDrawing(layer.pixels, layer.mask);
  } else {
    // Painters offer bitwise modes on few targets only, so the combination is done here,
    // on what the device shows or, when it cannot be read, on what was painted on it.
    QImage under = readable ? ReadDevicePixels(painter, layer.area)
                            : dc.paperRecord().render(dc.size(), layer.area);
    if (!under.isNull()) {
      CombineInto(under, layer.area.topLeft(), layer, op);
      drawn = MaskedForDrawing(under, layer.mask);
    }
  }
  if (!drawn.isNull()) painter.drawImage(layer.area.topLeft(), drawn);
  painter.restore();
  if (drawn.isNull()) return ERROR_NO_MEMORY;
  if (!readable) dc.paperRecord().add(bmp, request, op);
  return SUCCESS;
}
}  // namespace

int PaintBitmap(DeviceContext& dc, const ImageBitmap& bmp, const QRect& source,
                const QRect& destination, const QRect& clip, RasterOp op) {
  return Paint(dc, bmp, source, destination, clip, op, false);
}

int PaintBitmapInRegion(DeviceContext& dc, const ImageBitmap& bmp, const QRect& source,
                        const QRect& destination, const QRect& clip, RasterOp op) {
  return Paint(dc, bmp, source, destination, clip, op, true);
}

void* CreatePaintPalette(DeviceContext&, const ImageBitmap&) { return nullptr; }
