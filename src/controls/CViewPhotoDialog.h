#pragma once

#include <QDialog>

#include "krn/ImageBitmap.h"

class CScrollImageView;
class QPushButton;

// "View Full Photo" (dialog 194): the picture at its own size under a Close button,
// scrolling when it is larger than the window. The picture is not owned.
class CViewPhotoDialog : public QDialog {
  Q_OBJECT

 public:
  // name: shown in the title; empty for none.
  CViewPhotoDialog(const ImageBitmap& picture, const QString& name, QWidget* parent = nullptr);

  CScrollImageView* view() const { return m_view; }
  QPushButton* closeButton() const { return m_close; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void layoutView();

  QPushButton* m_close = nullptr;
  CScrollImageView* m_view = nullptr;
};
