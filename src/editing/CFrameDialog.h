#pragma once

#include <QDialog>

class CFramePicker;
class FeatureHost;
class PictureEditTarget;
class QLabel;
class QTabBar;

// "Frame your picture": puts the picture the target hands over behind a frame from the
// frames folder ("Frames" tab) or the edges folder ("Edges" tab). OK makes the framed
// picture, of the frame's size, and hands it to the target.
class CFrameDialog : public QDialog {
  Q_OBJECT

 public:
  CFrameDialog(FeatureHost& host, PictureEditTarget& target, QWidget* parent = nullptr);

  // Overrides, set before the dialog is shown: another folder, caption, hint or label.
  void setFolder(const QString& folder);
  void setCaption(const QString& caption);
  void setHint(const QString& hint);
  void setLabel(const QString& label);

  CFramePicker* picker() const { return m_picker; }
  QTabBar* tabs() const { return m_tabs; }

 public slots:
  void accept() override;

 private:
  void showTab(int tab);

  FeatureHost& m_host;
  PictureEditTarget& m_target;
  CFramePicker* m_picker;
  QTabBar* m_tabs;
  QLabel* m_label;
};
