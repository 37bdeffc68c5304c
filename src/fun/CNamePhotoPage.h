#pragma once

#include "fun/CFunProjectPage.h"

class CDescriptionEdit;
class QLineEdit;

// "Name the Photo": Finish stores the project as a new photo under the name typed.
class CNamePhotoPage : public CFunProjectPage {
  Q_OBJECT

 public:
  explicit CNamePhotoPage(CFunProjectWizard& wizard);

  QLineEdit* nameEdit() const { return m_name; }
  CDescriptionEdit* descriptionEdit() const { return m_description; }

  void onSetActive() override;
  void onWizardBack() override;
  bool onWizardFinish() override;

 private:
  QLineEdit* m_name;
  CDescriptionEdit* m_description;
};
