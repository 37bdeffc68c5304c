#include "fil/MonochromeRows.h"

QByteArray PackMonochromeRow(const ImageBitmap& bmp, int y, bool setForBlack) {
  const QImage& pixels = bmp.Pixels;
  const int width = pixels.width();
  QByteArray row((width + 7) / 8, '\0');
  const bool indexed = pixels.format() == QImage::Format_Indexed8;
  // Light or dark for each palette entry once, not for each pixel.
  QList<bool> lightEntry;
  if (indexed)
    for (QRgb c : pixels.colorTable()) lightEntry.append(qGray(c) >= 128);
  const uchar* line = pixels.constScanLine(y);
  for (int x = 0; x < width; ++x) {
    bool light;
    if (indexed) {
      const int index = line[x];
      light = index < lightEntry.size() && lightEntry[index];
    } else {
      light = qGray(reinterpret_cast<const QRgb*>(line)[x]) >= 128;
    }
    if (light != setForBlack) row[x / 8] = char(uchar(row[x / 8]) | (0x80 >> (x % 8)));
  }
  return row;
}

QImage NewMonochromeImage(int width, int height) {
  QImage image(width, height, QImage::Format_Indexed8);
  if (!image.isNull()) image.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
  return image;
}

void UnpackMonochromeRow(const unsigned char* bits, QImage& image, int y, bool setForBlack) {
  uchar* row = image.scanLine(y);
  for (int x = 0; x < image.width(); ++x) {
    const bool set = bits[x / 8] & (0x80 >> (x % 8));
    row[x] = set == setForBlack ? 0 : 1;
  }
}
