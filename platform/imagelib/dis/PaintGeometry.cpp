#include "dis/PaintGeometry.h"

#include "dis/Orientation.h"
#include "krn/ResultCodes.h"

namespace {
// Exact products of two spans: each fits 34 bits, so their product needs more than 64.
__extension__ using Wide = __int128;

// The smallest i with (2 i + 1) * sourceLength >= 2 * kept * destLength.
qint64 FirstOutputAtOrAfter(qint64 kept, qint64 sourceLength, qint64 destLength) {
  const Wide num = Wide(2) * kept * destLength - sourceLength;
  const Wide den = Wide(2) * sourceLength;
  Wide q = num / den;
  if (q * den < num) ++q;  // ceiling for positive denominators
  return qint64(q);
}
}  // namespace

qint64 AxisMapping::firstShown() const {
  return destBegin + FirstOutputAtOrAfter(keptBegin, sourceLength, destLength);
}

qint64 AxisMapping::endShown() const {
  return destBegin + FirstOutputAtOrAfter(keptEnd, sourceLength, destLength);
}

int ComputePaintGeometry(QSize picture, ViewPerspective perspective, const QRect& source,
                         const QRect& destination, const QRect& clip, QSize device,
                         PaintGeometry& out) {
  out = PaintGeometry{};
  out.perspective = perspective;
  const PixelBox whole = PixelBox::fromSize(picture);
  const PixelBox src = PixelBox::isNullRect(source) ? whole : PixelBox::fromRect(source);
  const PixelBox dst = PixelBox::fromRect(destination);
  if (src.isEmpty() || dst.isEmpty()) return ERROR_INV_PARAMETER;

  const PixelBox kept = src.intersected(whole);
  if (kept.isEmpty()) return SUCCESS;  // the source lies wholly outside the picture
  out.storedSource = kept.toRect();

  out.shownSource = OrientBox(src, picture, perspective);
  const PixelBox shownKept = OrientBox(kept, picture, perspective);
  out.x = {out.shownSource.width(), dst.left, dst.width(), shownKept.left - out.shownSource.left,
           shownKept.right - out.shownSource.left};
  out.y = {out.shownSource.height(), dst.top, dst.height(), shownKept.top - out.shownSource.top,
           shownKept.bottom - out.shownSource.top};

  PixelBox visible{out.x.firstShown(), out.y.firstShown(), out.x.endShown(), out.y.endShown()};
  visible = visible.intersected(dst).intersected(PixelBox::fromSize(device));
  if (!PixelBox::isNullRect(clip)) visible = visible.intersected(PixelBox::fromRect(clip));
  if (!visible.isEmpty()) out.visible = visible.toRect();
  return SUCCESS;
}
