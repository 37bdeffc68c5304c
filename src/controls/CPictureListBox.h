#pragma once

#include <QListView>

#include "controls/PictureListPicture.h"

class CPictureListBoxDelegate;

// The owner-drawn list of pictures with their names: a multi-column list, items 125 pixels
// high, filling each column top to bottom and scrolling horizontally. It shows any model
// whose rows have Qt::DisplayRole text and PhotoListModel::PictureRole pictures (a
// PhotoItemPtr, or a const ImageBitmap* its owner keeps); it never owns the pictures.
class CPictureListBox : public QListView {
  Q_OBJECT

 public:
  explicit CPictureListBox(QWidget* parent = nullptr);

  // White parts of the pictures show the list's background (the frame lists).
  void setTransparentWhite(bool on);
  bool transparentWhite() const;
  // Reports every mouse move through hoverIndex (the main window's photo list).
  void setHintEnabled(bool on);
  bool hintEnabled() const { return hintEnabled_; }
  // The width of each column; by default derived from the font.
  void setColumnWidth(int width);
  int columnWidth() const;

  // The selected row, or -1.
  int currentRow() const;
  void setCurrentRow(int row);

 signals:
  // Enter (Qt::Key_Return or Qt::Key_Enter), Space or Delete; the list does nothing else
  // with these keys.
  void keyNotified(int key);
  // A right click, after the item under the cursor (if any) was selected; row is the
  // selected row or -1, globalPos where the click was, for a context menu.
  void rightClicked(int row, QPoint globalPos);
  // With the hint enabled: on every mouse move the row under the cursor, or -1 over no item;
  // also -1 when the cursor leaves the list.
  void hoverIndex(int row);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  bool viewportEvent(QEvent* event) override;

 private:
  CPictureListBoxDelegate* delegate_;
  bool hintEnabled_ = false;
};
