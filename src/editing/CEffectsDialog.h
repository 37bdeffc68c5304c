#pragma once

#include <functional>

#include <QDialog>

#include "controls/BackgroundRunner.h"
#include "editing/EffectUndoStack.h"
#include "krn/ltkrn.h"

class CPicturePreview;
class FeatureHost;
class PictureEditTarget;
class QComboBox;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QSlider;
struct EffectInfo;

// "Special Effects": tries the effects on a working copy of the picture the target hands
// over, one preview at a time on the background runner, with Undo back to the picture as
// opened and Apply to hand the result to the target. Close during a preview stops it.
class CEffectsDialog : public QDialog {
  Q_OBJECT

 public:
  CEffectsDialog(FeatureHost& host, PictureEditTarget& target, QWidget* parent = nullptr);
  ~CEffectsDialog() override;

  const ImageBitmap& workingPicture() const { return m_working; }
  const EffectUndoStack& undoStack() const { return m_undo; }
  bool previewRunning() const { return bool(m_stopPreview); }

 public slots:
  void preview();
  void undo();
  void apply();
  void done(int result) override;

 signals:
  // A preview has ended (finished, failed or stopped) and the preview shows the result.
  void previewFinished();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void selectEffect();
  void showValue(int position);
  void updateButtons();
  // The working picture changed: shows it, reduced for the screen on the runner.
  void showWorking();
  const EffectInfo* selectedEffect() const;

  FeatureHost& m_host;
  PictureEditTarget& m_target;
  ImageBitmap m_working;
  // What the preview shows: the working picture reduced to the screen's measure.
  ImageBitmap m_shown;
  EffectUndoStack m_undo;
  BackgroundRunner::StopJob m_stopPreview;
  int m_shownGeneration = 0;

  QListWidget* m_effects;
  QLabel* m_valueLabel;
  QSlider* m_slider;
  QLabel* m_value;
  QComboBox* m_options;
  QPushButton* m_previewButton;
  QPushButton* m_undoButton;
  QPushButton* m_applyButton;
  QProgressBar* m_progress;
  CPicturePreview* m_preview;
  QLabel* m_description;
  QLabel* m_undoNote;
};
