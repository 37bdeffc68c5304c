#pragma once

#include <QDialog>
#include <QSize>

#include "photoedits/ResizeChoice.h"

class FeatureHost;
class PictureEditTarget;
class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QPushButton;

// "Resize": one of eight preset sizes, or the user's own size with or without the
// picture's proportions. OK resizes the picture the target hands over, on the background
// runner for a large one; a size no picture can have is refused with the limit named.
class CResizeDialog : public QDialog {
  Q_OBJECT

 public:
  CResizeDialog(FeatureHost& host, PictureEditTarget& target, QWidget* parent = nullptr);

  // The size chosen: a preset's, or 0 x 0 while the own size is chosen and OK not pressed.
  QSize resultSize() const { return m_result; }
  const OwnSizeFields& ownSize() const { return m_own; }

 public slots:
  void accept() override;

 private:
  void choose(int button);
  // Reads the own-size fields into m_own; false after saying which one is not a number.
  bool readFields();
  void showFields();
  void widthLeft();
  void heightLeft();

  FeatureHost& m_host;
  PictureEditTarget& m_target;
  OwnSizeFields m_own;
  QSize m_result;

  QButtonGroup* m_sizes;
  QList<QWidget*> m_ownSizeControls;
  QLineEdit* m_width;
  QLineEdit* m_height;
  QCheckBox* m_keepRatio;
  QLineEdit* m_ratio;
  QPushButton* m_ok;
};
