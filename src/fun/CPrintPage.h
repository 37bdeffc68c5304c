#pragma once

#include "fun/CFunProjectPage.h"

// "Print": "&Print It" prints the project on the printer the user sets up.
class CPrintPage : public CFunProjectPage {
  Q_OBJECT

 public:
  explicit CPrintPage(CFunProjectWizard& wizard);

  void print();
  void onSetActive() override;
};
