#include "controls/CPictureListBoxDelegate.h"

#include <algorithm>

#include <QFontMetrics>
#include <QPainter>
#include <QTextLayout>
#include <QTextOption>

#include "controls/PictureListGeometry.h"
#include "controls/PictureListPicture.h"
#include "dis/ltdis.h"
#include "efx/ltefx.h"
#include "library/PhotoListModel.h"

namespace {
// Centred, word-wrapped lines from the top of rect. Only whole lines are shown: when the
// text needs more lines than fit, the last one shown ends in an ellipsis rather than being
// cut through the middle.
void DrawWrappedText(QPainter& painter, const QRect& rect, const QString& text) {
  const QFontMetrics metrics(painter.font());
  QTextLayout layout(text, painter.font());
  QTextOption wrap(Qt::AlignHCenter);
  wrap.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  layout.setTextOption(wrap);
  QStringList lines;
  const int fitting = std::max(1, rect.height() / metrics.lineSpacing());
  layout.beginLayout();
  for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
    line.setLineWidth(rect.width());
    if (lines.size() == fitting) {
      lines.last() = metrics.elidedText(lines.last() + QStringLiteral("\u2026"),
                                        Qt::ElideRight, rect.width());
      break;
    }
    lines.append(text.mid(line.textStart(), line.textLength()).trimmed());
  }
  layout.endLayout();
  int y = rect.top();
  for (const QString& line : lines) {
    painter.drawText(QRect(rect.left(), y, rect.width(), metrics.lineSpacing()),
                     Qt::AlignHCenter | Qt::AlignTop, line);
    y += metrics.lineSpacing();
  }
}
}  // namespace

CPictureListBoxDelegate::CPictureListBoxDelegate(QObject* parent)
    : QAbstractItemDelegate(parent) {}

CPictureListBoxDelegate::ItemPicture CPictureListBoxDelegate::PictureOf(
    const QModelIndex& index) {
  const QVariant data = index.data(PhotoListModel::PictureRole);
  ItemPicture out;
  if (data.metaType() == QMetaType::fromType<PhotoItemPtr>()) {
    out.holder = data.value<PhotoItemPtr>();
    if (out.holder) out.bitmap = &out.holder->Thumbnail;
  } else if (data.metaType() == QMetaType::fromType<const ImageBitmap*>()) {
    out.bitmap = data.value<const ImageBitmap*>();
  }
  return out;
}

QSize CPictureListBoxDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const {
  return QSize(columnWidth_, kPictureListItemHeight);
}

void CPictureListBoxDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const {
  const QRect item = option.rect;
  const bool selected = option.state.testFlag(QStyle::State_Selected);
  const QPalette::ColorGroup group =
      option.state.testFlag(QStyle::State_Enabled) ? QPalette::Normal : QPalette::Disabled;
  painter->save();
  if (selected) painter->fillRect(item, option.palette.color(group, QPalette::Highlight));

  int pictureHeight = 0;
  const ItemPicture itemPicture = PictureOf(index);
  const ImageBitmap* picture = itemPicture.bitmap;
  if (picture != nullptr && picture->hasPixels() && !picture->isEmpty()) {
    const QRect target = PictureListPictureRect(item, picture->shownSize());
    QPaintDevice* device = painter->device();
    DeviceContext dc(*painter, QSize(device->width(), device->height()));
    // Clipped to the item, so a picture larger than its item never covers its neighbours.
    if (transparentWhite_)
      PaintTransparent(dc, *picture, QRect(), target, item, qRgb(255, 255, 255));
    else
      PaintBitmap(dc, *picture, QRect(), target, item, RasterOp::Copy);
    pictureHeight = picture->shownSize().height();
  }

  const QRect textRect = PictureListTextRect(item, pictureHeight);
  if (!textRect.isEmpty()) {
    painter->setClipRect(textRect, Qt::IntersectClip);
    painter->setFont(option.font);
    painter->setPen(
        option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
    DrawWrappedText(*painter, textRect, PictureListDisplayText(index.data().toString()));
  }
  painter->restore();
}
