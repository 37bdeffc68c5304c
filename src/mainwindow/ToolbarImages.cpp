#include "mainwindow/ToolbarImages.h"

#include <QImage>

QList<QPixmap> CutToolbarImages(const QImage& strip, int count) {
  const QImage source = strip.convertToFormat(QImage::Format_ARGB32);
  QList<QPixmap> images;
  for (int i = 0; i < count; ++i) {
    QImage image(kToolbarImageWidth, kToolbarImageHeight, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    const int left = i * kToolbarImageWidth;
    for (int y = 0; y < kToolbarImageHeight && y < source.height(); ++y) {
      const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
      auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
      for (int x = 0; x < kToolbarImageWidth && left + x < source.width(); ++x) {
        const QRgb pixel = in[left + x];
        out[x] = (pixel & 0xFFFFFF) == 0xFF00FF ? 0 : pixel;
      }
    }
    images.append(QPixmap::fromImage(image));
  }
  return images;
}
