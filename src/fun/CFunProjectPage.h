#pragma once

#include "controls/CWizardPage.h"

class CFunProjectWizard;
class CPicturePreview;
class QLabel;
class QVBoxLayout;
struct ImageBitmap;

// What every page of the fun-projects wizard but the first has: its own fields on the
// left, the hint on yellow below them, and the project's picture in a preview on the
// right, which a click opens full size.
class CFunProjectPage : public CWizardPage {
  Q_OBJECT

 public:
  CFunProjectPage(CFunProjectWizard& wizard, const QString& caption, int dialogId);

  // The picture this page makes for the project; only the project pages make one.
  virtual const ImageBitmap* madePicture() const { return nullptr; }
  CPicturePreview* preview() const { return m_preview; }
  QLabel* hint() const { return m_hint; }

 protected:
  // Where the page puts its own fields, above the hint.
  QVBoxLayout* fields() const { return m_fields; }
  void showPicture(const ImageBitmap* picture);
  // The viewer's title: the project's name, or none on the name page.
  void setViewerTitle(const QString& title) { m_viewerTitle = title; }
  bool eventFilter(QObject* watched, QEvent* event) override;

  CFunProjectWizard& m_wizard;

 private:
  QVBoxLayout* m_fields;
  QLabel* m_hint;
  CPicturePreview* m_preview;
  QString m_viewerTitle;
};
