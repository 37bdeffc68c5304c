#pragma once

#include <QString>
#include <QWidget>

class CWizardSheet;

// One page of a CWizardSheet. The sheet calls the page's handlers as the user moves; a
// page that moves somewhere other than its neighbour calls setActivePage itself.
class CWizardPage : public QWidget {
  Q_OBJECT

 public:
  // caption: the sheet's title while the page is shown; dialogId becomes the objectName.
  CWizardPage(const QString& caption, int dialogId, QWidget* parent = nullptr);

  const QString& caption() const { return m_caption; }
  void setCaption(const QString& caption);
  // The sheet the page was added to, or null.
  CWizardSheet* sheet() const { return m_sheet; }

  // The page has become the shown page: set the sheet's buttons here.
  virtual void onSetActive() {}
  // The page stops being shown: by Back, Next, Finish, Cancel or a jump.
  virtual void onKillActive() {}
  // Next and Back move to the neighbouring page unless the page overrides them.
  virtual void onWizardNext();
  virtual void onWizardBack();
  // Finish closes the sheet as accepted only when this returns true.
  virtual bool onWizardFinish() { return true; }

 private:
  friend class CWizardSheet;
  QString m_caption;
  CWizardSheet* m_sheet = nullptr;
};
