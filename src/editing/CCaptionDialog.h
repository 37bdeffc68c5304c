#pragma once

#include <QColor>
#include <QDialog>
#include <QFont>

#include "photoedits/CaptionLayout.h"
#include "krn/ImageBitmap.h"

class CCaptionView;
class FeatureHost;
class PictureEditTarget;
class QListWidget;
class QPlainTextEdit;

// "Caption": writes a short text onto the picture in a thought balloon, a speech balloon
// or a sticky note. The user picks the shape, types the text, chooses font and colour and
// drags the caption over the picture; OK draws it into the picture's pixels. The view
// shows the picture reduced for the screen when it is large, and the caption is drawn into
// the whole picture at the same place and proportions.
class CCaptionDialog : public QDialog {
  Q_OBJECT

 public:
  CCaptionDialog(FeatureHost& host, PictureEditTarget& target, QWidget* parent = nullptr);

  // What "&Font && Color" does after the desktop's font and colour dialogs.
  void setFontAndColour(const QFont& font, const QColor& colour);
  Caption caption() const;
  CCaptionView* view() const { return m_view; }
  // The caption's box in the whole picture's pixels, where OK would draw it.
  QRectF captionRectInPicture() const;

 public slots:
  void accept() override;

 private:
  void updateCaption();
  void chooseFontAndColour();
  // Whole-picture pixels per pixel of the picture shown.
  double pictureScale() const;

  FeatureHost& m_host;
  PictureEditTarget& m_target;
  // The picture's size as handed over, and the copy the view shows.
  QSize m_pictureSize;
  ImageBitmap m_shown;
  QFont m_font;
  QColor m_colour = Qt::black;

  QListWidget* m_shapes;
  QPlainTextEdit* m_text;
  CCaptionView* m_view;
};
