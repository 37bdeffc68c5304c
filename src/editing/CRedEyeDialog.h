#pragma once

#include <QDialog>
#include <QTimer>

#include "krn/ImageBitmap.h"

class CScrollImageView;
class DeviceContext;
class FeatureHost;
class PictureEditTarget;
class QPushButton;

// "Correct Red Eye": the picture at full size in a scrolled view; the user draws an ellipse
// around a red pupil and presses "&Correct Red Eye", as often as there are eyes. The
// corrections are made on a copy, which OK hands back and Cancel drops.
class CRedEyeDialog : public QDialog {
  Q_OBJECT

 public:
  CRedEyeDialog(FeatureHost& host, PictureEditTarget& target, QWidget* parent = nullptr);

  CScrollImageView* view() const { return m_view; }
  // The ellipse drawn last, in the picture's pixels; empty when there is none to correct.
  QRect ellipse() const { return m_ellipse; }
  void correctRedEye();

 public slots:
  void accept() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void drawMarks(DeviceContext& dc);
  void showOutlineStep();

  FeatureHost& m_host;
  PictureEditTarget& m_target;
  ImageBitmap m_working;
  bool m_corrected = false;

  bool m_drawing = false;
  QPoint m_press;
  QPoint m_current;
  QRect m_ellipse;
  int m_outlineStep = 0;
  QTimer m_outlineTimer;

  CScrollImageView* m_view;
  QPushButton* m_correct;
};
