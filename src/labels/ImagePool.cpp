#include "labels/ImagePool.h"

#include <QHash>

#include <algorithm>

namespace {
// The bytes of a row that hold pixels, without the padding at its end.
qsizetype RowBytes(const QImage& image) { return (qsizetype(image.width()) * image.depth() + 7) / 8; }
}  // namespace

std::size_t ImagePool::Fingerprint(const ImageBitmap& picture) {
  const QImage& image = picture.Pixels;
  std::size_t seed = qHashMulti(0, picture.Width, picture.Height, picture.BitsPerPixel, image.format());
  if (image.isNull()) return seed;
  const qsizetype rowBytes = RowBytes(image);
  for (int y = 0; y < image.height(); ++y)
    seed = qHashBits(image.constScanLine(y), size_t(rowBytes), seed);
  for (QRgb entry : image.colorTable()) seed = qHashMulti(seed, entry);
  return seed;
}

bool ImagePool::SamePicture(const ImageBitmap& a, const ImageBitmap& b) {
  if (a.Width != b.Width || a.Height != b.Height || a.BitsPerPixel != b.BitsPerPixel ||
      a.Order != b.Order || a.Perspective != b.Perspective)
    return false;
  const QImage& x = a.Pixels;
  const QImage& y = b.Pixels;
  if (x.isNull() || y.isNull()) return x.isNull() == y.isNull();
  if (x.size() != y.size() || x.format() != y.format() || x.colorTable() != y.colorTable()) return false;
  if (x.cacheKey() == y.cacheKey()) return true;
  const qsizetype rowBytes = RowBytes(x);
  for (int row = 0; row < x.height(); ++row)
    if (!std::equal(x.constScanLine(row), x.constScanLine(row) + rowBytes, y.constScanLine(row))) return false;
  return true;
}

std::shared_ptr<ImageBitmap> ImagePool::Share(const ImageBitmap& picture) {
  return Share(picture, Fingerprint(picture));
}

std::shared_ptr<ImageBitmap> ImagePool::Share(const ImageBitmap& picture, std::size_t key) {
  Prune();
  for (const Entry& entry : entries_) {
    if (entry.Key != key) continue;
    if (std::shared_ptr<ImageBitmap> pooled = entry.Picture.lock(); pooled && SamePicture(*pooled, picture))
      return pooled;
  }
  // A copy of the record shares the pixels until one side writes.
  auto pooled = std::make_shared<ImageBitmap>(picture);
  entries_.push_back(Entry{pooled, key});
  return pooled;
}

void ImagePool::Changed(const std::shared_ptr<ImageBitmap>& picture) {
  for (Entry& entry : entries_)
    if (entry.Picture.lock() == picture) entry.Key = Fingerprint(*picture);
}

void ImagePool::Prune() {
  std::erase_if(entries_, [](const Entry& entry) { return entry.Picture.expired(); });
}

int ImagePool::Size() const {
  return int(std::count_if(entries_.begin(), entries_.end(),
                           [](const Entry& entry) { return !entry.Picture.expired(); }));
}
