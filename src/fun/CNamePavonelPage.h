#pragma once

#include "controls/CWizardPage.h"

class CShowBuilderWizard;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

// "Name Your Slide Show" / "Name Your Screen Saver" (dialog 237): the show's name and the
// folder it goes to; for a screen saver, whether to make it the one in use.
class CNamePavonelPage : public CWizardPage {
  Q_OBJECT

 public:
  explicit CNamePavonelPage(CShowBuilderWizard& wizard);

  // The name without blanks at either end.
  QString showName() const;
  // Ends in "/".
  const QString& folder() const { return m_folder; }
  void setFolder(const QString& folder);
  bool useAsScreenSaver() const;

  QLineEdit* nameEdit() const { return m_name; }
  QLabel* folderLabel() const { return m_folderLabel; }
  QPushButton* browseButton() const { return m_browse; }
  QCheckBox* useCheck() const { return m_use; }

  void browse();
  void onSetActive() override;

 private:
  void updateButtons();

  CShowBuilderWizard& m_wizard;
  QString m_folder;
  QLineEdit* m_name;
  QLabel* m_folderLabel;
  QPushButton* m_browse;
  QCheckBox* m_use;
};
