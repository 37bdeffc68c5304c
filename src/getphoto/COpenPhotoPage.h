#pragma once

#include "controls/CWizardPage.h"
#include "krn/ImageBitmap.h"

class CGetPhotoWizard;
class CPicturePreview;
class QCheckBox;
class QLabel;
class QListWidget;
class QRadioButton;

// "Open a New Photo" (dialog 170): an image file, or a scanner or camera. Next with a
// device scans into the working bitmap and goes on to the naming page when it worked.
class COpenPhotoPage : public CWizardPage {
  Q_OBJECT

 public:
  explicit COpenPhotoPage(CGetPhotoWizard& wizard);
  ~COpenPhotoPage() override;

  QRadioButton* fileChoice() const { return m_file; }
  QRadioButton* deviceChoice() const { return m_device; }
  QListWidget* sources() const { return m_sources; }
  QCheckBox* quickScan() const { return m_quickScan; }

  void onSetActive() override;
  void onWizardNext() override;

 private:
  void chooseFile();
  void chooseDevice();
  void enableDeviceControls(bool enable);
  void acquire();

  CGetPhotoWizard& m_wizard;
  QRadioButton* m_file;
  QRadioButton* m_device;
  QListWidget* m_sources;
  QCheckBox* m_quickScan;
  QLabel* m_scannerNote;
  QLabel* m_cameraNote;
  CPicturePreview* m_preview;
  ImageBitmap m_logo;
};
