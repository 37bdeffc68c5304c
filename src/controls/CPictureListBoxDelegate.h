#pragma once

#include <QAbstractItemDelegate>

#include "library/PhotoItem.h"

// Draws the items of a CPictureListBox: the picture at its own size above its text.
class CPictureListBoxDelegate : public QAbstractItemDelegate {
  Q_OBJECT

 public:
  explicit CPictureListBoxDelegate(QObject* parent = nullptr);

  void setTransparentWhite(bool on) { transparentWhite_ = on; }
  bool transparentWhite() const { return transparentWhite_; }
  void setColumnWidth(int width) { columnWidth_ = width; }
  int columnWidth() const { return columnWidth_; }

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

  // The picture an item shows: PictureRole holding a PhotoItemPtr (its thumbnail, kept
  // alive by holder while it is used) or a const ImageBitmap*; bitmap null when none.
  struct ItemPicture {
    PhotoItemPtr holder;
    const ImageBitmap* bitmap = nullptr;
  };
  static ItemPicture PictureOf(const QModelIndex& index);

 private:
  bool transparentWhite_ = false;
  int columnWidth_ = 128;
};
