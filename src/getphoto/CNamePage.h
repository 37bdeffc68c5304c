#pragma once

#include "controls/CWizardPage.h"

class CDescriptionEdit;
class CGetPhotoWizard;
class CPicturePreview;
class QCheckBox;
class QLabel;
class QLineEdit;

// "Name the Photo" (dialog 171): the photo's name and description, stored with Next
// (when "Get another photo" is ticked, then back to the first page) or Finish.
class CNamePage : public CWizardPage {
  Q_OBJECT

 public:
  explicit CNamePage(CGetPhotoWizard& wizard);
  ~CNamePage() override;

  // The message under the check box, naming the button that stores.
  static QString Message(bool another);

  void setProposedName(const QString& name);
  // The page Back returns to: the file browser or the source page.
  void setSource(CWizardPage* page) { m_source = page; }

  QLineEdit* nameEdit() const { return m_name; }
  CDescriptionEdit* descriptionEdit() const { return m_description; }
  QCheckBox* another() const { return m_another; }
  QLabel* message() const { return m_message; }
  CPicturePreview* preview() const { return m_preview; }

  void onSetActive() override;
  void onKillActive() override;
  void onWizardBack() override;
  void onWizardNext() override;
  bool onWizardFinish() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void updateButtons();
  // The name check, then storing; false keeps the wizard on this page.
  bool store();

  CGetPhotoWizard& m_wizard;
  CWizardPage* m_source = nullptr;
  QLineEdit* m_name;
  CDescriptionEdit* m_description;
  QCheckBox* m_another;
  QLabel* m_message;
  CPicturePreview* m_preview;
};
