#pragma once

#include "controls/CWizardPage.h"
#include "krn/ltkrn.h"

class CFramePicker;
class FeatureHost;

// "Frame your photo": the frame chooser as a page of the fun-projects wizard, over the main
// window's working picture, taken each time the page is shown. The wizard gives it its
// folder of templates, caption and hint; Next keeps the framed picture for the pages after.
class CFramePage : public CWizardPage {
  Q_OBJECT

 public:
  CFramePage(FeatureHost& host, QWidget* parent = nullptr);

  void setFolder(const QString& folder);
  void setHint(const QString& hint);
  // The photo in its frame, once Next has made it.
  const ImageBitmap& framedPicture() const { return m_framed; }
  CFramePicker* picker() const { return m_picker; }

  void onSetActive() override;
  void onWizardNext() override;

 private:
  FeatureHost& m_host;
  CFramePicker* m_picker;
  ImageBitmap m_framed;
};
