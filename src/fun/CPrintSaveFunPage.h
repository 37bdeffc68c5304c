#pragma once

#include "fun/CFunProjectPage.h"

class QButtonGroup;

// "Print And Save": print the project, store it as a new photo, or both. "Only &Save it"
// skips the print page.
class CPrintSaveFunPage : public CFunProjectPage {
  Q_OBJECT

 public:
  explicit CPrintSaveFunPage(CFunProjectWizard& wizard);

  void onSetActive() override;
  void onWizardNext() override;

 private:
  void updateButtons();

  QButtonGroup* m_choices;
};
