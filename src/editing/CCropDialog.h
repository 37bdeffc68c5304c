#pragma once

#include <QDialog>
#include <QTimer>

#include "krn/ltkrn.h"

class CPicturePreview;
class DeviceContext;
class FeatureHost;
class PictureEditTarget;
class QLabel;
class QListWidget;
class QSpinBox;

// "Crop": cuts the picture the target hands over down to one of six shapes. The user picks
// a shape, sizes it, drags the picture under it, and on OK the part the preview shows
// becomes the picture, white outside the shape. The shape stays where its outline shows,
// so what is kept is what was framed on screen.
class CCropDialog : public QDialog {
  Q_OBJECT

 public:
  CCropDialog(FeatureHost& host, PictureEditTarget& target, QWidget* parent = nullptr);

  int shape() const { return m_shape; }
  int heightFactor() const { return m_heightFactor; }
  int widthFactor() const { return m_widthFactor; }
  // The shape's rectangle in the picture's pixels, where its outline shows now.
  QRect shapeRect() const;
  CPicturePreview* preview() const { return m_preview; }

 public slots:
  void accept() override;

 private:
  void chooseShape(int row);
  void setFactors(int heightFactor, int widthFactor);
  void drawOutline(DeviceContext& dc);

  FeatureHost& m_host;
  PictureEditTarget& m_target;
  // The picture as handed over, and a copy reduced for the screen that the preview shows.
  ImageBitmap m_working;
  ImageBitmap m_shown;
  int m_shape = -1;
  int m_heightFactor = 10;
  int m_widthFactor = 10;
  int m_outlineStep = 0;
  QTimer m_outlineTimer;

  QListWidget* m_shapes;
  QSpinBox* m_height;
  QSpinBox* m_width;
  QLabel* m_hint;
  CPicturePreview* m_preview;
};
