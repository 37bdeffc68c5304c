#include "dis/PaperRecord.h"

#include "dis/RasterCombine.h"
#include "krn/ResultCodes.h"

namespace {
// Enough for the pictures of a well-filled page at printer resolution.
constexpr qint64 kMemoryBudget = qint64(512) << 20;
}

void PaperRecord::add(const ImageBitmap& bitmap, const PaintRequest& request, RasterOp op) {
  entries_.push_back({bitmap, request, op});
  entries_.back().request.bitmap = nullptr;  // the caller's bitmap may go; the copy stays
  keptBytes_ += bitmap.Pixels.sizeInBytes();
  while (keptBytes_ > kMemoryBudget && entries_.size() > 1) {
    keptBytes_ -= entries_.front().bitmap.Pixels.sizeInBytes();
    entries_.pop_front();
  }
}

QImage PaperRecord::render(QSize device, const QRect& area) const {
  QImage page(area.size(), QImage::Format_RGB32);
  if (page.isNull()) return page;
  page.fill(0xffffffffu);
  for (const Entry& entry : entries_) {
    PaintRequest request = entry.request;
    request.bitmap = &entry.bitmap;
    PaintLayer layer;
    if (RenderPaintLayer(request, device, area, layer) == SUCCESS && !layer.area.isEmpty())
      CombineInto(page, area.topLeft(), layer, entry.op);
  }
  return page;
}

void PaperRecord::clear() {
  entries_.clear();
  keptBytes_ = 0;
}
