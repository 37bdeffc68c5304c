#pragma once

#include "controls/CWizardPage.h"

class CFunProjectWizard;
class CPictureListBox;
class PhotoListModel;
class QLabel;

// "Pick a Photo": the first page when the wizard starts from the Fun list. The photos of
// My Photos as the main window lists them; Next (or a double click) loads the chosen one.
class CPickPhotoPage : public CWizardPage {
  Q_OBJECT

 public:
  explicit CPickPhotoPage(CFunProjectWizard& wizard);

  CPictureListBox* photoList() const { return m_list; }

  void onSetActive() override;
  void onWizardNext() override;

 private:
  CFunProjectWizard& m_wizard;
  PhotoListModel* m_photos;
  CPictureListBox* m_list;
  QLabel* m_text;
};
