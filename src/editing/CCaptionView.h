#pragma once

#include "controls/CScrollImageView.h"

class CCaptionWindow;
struct Caption;

// The caption dialog's picture view: the picture at its own size, scrolled, with the
// caption window over it.
class CCaptionView : public CScrollImageView {
  Q_OBJECT

 public:
  explicit CCaptionView(QWidget* parent = nullptr);

  // Gives the caption its new text, shape, font and colour, making its window at the
  // picture's top-left on first use. Call after setPicture().
  void updateCaption(const Caption& caption);
  // Null until the first update.
  CCaptionWindow* captionWindow() const { return m_caption; }

 protected:
  void scrollContentsBy(int dx, int dy) override;

 private:
  CCaptionWindow* m_caption = nullptr;
};
