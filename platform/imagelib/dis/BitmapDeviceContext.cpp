#include "dis/BitmapDeviceContext.h"

#include "dis/Orientation.h"
#include "dis/ltdis.h"

namespace {
int Dpi(int recorded) { return recorded > 0 ? recorded : 96; }
}  // namespace

std::unique_ptr<BitmapDeviceContext> BitmapDeviceContext::open(ImageBitmap& bitmap) {
  if (!bitmap.hasPixels()) return nullptr;
  auto canvas = std::make_unique<Canvas>();
  const bool alpha = bitmap.Pixels.format() != QImage::Format_Indexed8 &&
                     bitmap.Pixels.hasAlphaChannel();
  const QImage::Format format = alpha ? QImage::Format_ARGB32_Premultiplied
                                      : QImage::Format_RGB32;
  canvas->image = OrientImage(bitmap.Pixels.convertToFormat(format), bitmap.Perspective);
  if (canvas->image.isNull() || !canvas->painter.begin(&canvas->image)) return nullptr;
  const bool swapped = SwapsAxes(bitmap.Perspective);
  const int dpiX = Dpi(swapped ? bitmap.YResolution : bitmap.XResolution);
  const int dpiY = Dpi(swapped ? bitmap.XResolution : bitmap.YResolution);
  return std::unique_ptr<BitmapDeviceContext>(
      new BitmapDeviceContext(bitmap, std::move(canvas), dpiX, dpiY));
}

BitmapDeviceContext::BitmapDeviceContext(ImageBitmap& bitmap, std::unique_ptr<Canvas> canvas,
                                         int dpiX, int dpiY)
    : DeviceContext(canvas->painter, canvas->image.size(), dpiX, dpiY),
      canvas_(std::move(canvas)),
      bitmap_(bitmap),
      openedSize_(bitmap.Pixels.size()),
      openedBits_(bitmap.BitsPerPixel),
      openedPerspective_(bitmap.Perspective) {}

BitmapDeviceContext::~BitmapDeviceContext() = default;

int BitmapDeviceContext::finish() {
  if (finished_) return SUCCESS;
  finished_ = true;
  canvas_->painter.end();
  return writeBack();
}

int BitmapDeviceContext::writeBack() {
  if (bitmap_.Pixels.size() != openedSize_ || bitmap_.BitsPerPixel != openedBits_ ||
      bitmap_.Perspective != openedPerspective_)
    return ERROR_FAILURE;
  QImage pixels = UnorientImage(canvas_->image, openedPerspective_);
  // The canvas lets go first, so that what follows works on the only reference and never
  // copies the whole picture once more.
  canvas_->image = QImage();
  if (bitmap_.Pixels.format() == QImage::Format_Indexed8) {
    const QList<QRgb> palette = bitmap_.Pixels.colorTable();
    if (palette.isEmpty()) return ERROR_FAILURE;
    // Each colour goes to its nearest palette entry, without dithering, so the pixels that
    // were not painted keep their index.
    pixels = pixels.convertToFormat(QImage::Format_Indexed8, palette, Qt::ThresholdDither);
  } else {
    pixels = std::move(pixels).convertToFormat(bitmap_.Pixels.format());
  }
  if (pixels.isNull()) return ERROR_NO_MEMORY;
  if (pixels.dotsPerMeterX() != bitmap_.Pixels.dotsPerMeterX()) pixels.setDotsPerMeterX(bitmap_.Pixels.dotsPerMeterX());
  if (pixels.dotsPerMeterY() != bitmap_.Pixels.dotsPerMeterY()) pixels.setDotsPerMeterY(bitmap_.Pixels.dotsPerMeterY());
  bitmap_.Pixels = std::move(pixels);
  return SUCCESS;
}

std::unique_ptr<DeviceContext> CreateBitmapDC(ImageBitmap& bmp) {
  return BitmapDeviceContext::open(bmp);
}

int DeleteBitmapDC(std::unique_ptr<DeviceContext>& dc) {
  auto* bitmapDc = dynamic_cast<BitmapDeviceContext*>(dc.get());
  if (!bitmapDc) return ERROR_INV_PARAMETER;
  const int rc = bitmapDc->finish();
  dc.reset();
  return rc;
}
