#include "photoedits/FrameFolder.h"

#include <vector>

#include <QDir>
#include <QFileInfo>

#include "fil/ltfil.h"

void FloodFillWhite(ImageBitmap& picture, QPoint seed) {
  if (!picture.hasPixels() || !QRect(QPoint(0, 0), picture.Pixels.size()).contains(seed)) return;
  QImage image = BitmapToRgb32(picture).convertToFormat(QImage::Format_RGB32);
  const QRgb target = image.pixel(seed);
  const QRgb white = qRgb(255, 255, 255);
  if (target == white) return;
  std::vector<QPoint> pending{seed};
  while (!pending.empty()) {
    const QPoint p = pending.back();
    pending.pop_back();
    if (!image.rect().contains(p) || image.pixel(p) != target) continue;
    image.setPixel(p, white);
    pending.insert(pending.end(), {p + QPoint(1, 0), p - QPoint(1, 0), p + QPoint(0, 1), p - QPoint(0, 1)});
  }
  SetBitmapImage(picture, image);
}

std::vector<FrameItem> ListFrames(const QString& folder, HoleFill fill) {
  std::vector<FrameItem> items;
  const QFileInfoList files = QDir(folder).entryInfoList(QDir::Files | QDir::Readable, QDir::Name);
  for (const QFileInfo& file : files) {
    FrameItem item;
    item.Name = file.completeBaseName();
    if (LoadPictureFile(file.filePath(), item.Thumbnail) != SUCCESS || item.Thumbnail.isEmpty()) continue;
    if (ResizeBitmap(item.Thumbnail, kFrameThumbnailWidth, kFrameThumbnailHeight) != SUCCESS) continue;
    const QPoint seed = fill == HoleFill::BlackAtCentre ? QPoint(32, 24) : QPoint(30, 24);
    // The frame dialog fills only a black hole; the page fills whatever is at its point.
    if (fill == HoleFill::ColourAtPoint || (item.Thumbnail.Pixels.pixel(seed) & 0x00ffffffu) == 0)
      FloodFillWhite(item.Thumbnail, seed);
    items.push_back(std::move(item));
  }
  return items;
}

bool LoadFrame(const QString& folder, const QString& name, ImageBitmap& frame) {
  ImageBitmap loaded;
  if (LoadPictureFile(folder + name + ".gif", loaded) != SUCCESS || loaded.isEmpty()) return false;
  frame = std::move(loaded);
  return true;
}
