#pragma once

#include <QDialog>
#include <QList>

class CWizardPage;
class QPushButton;
class QStackedWidget;

// A wizard in the manner of a property sheet: pages in order, the shown page's caption as
// the window title, and Back, Next / Finish and Cancel buttons that the shown page sets
// for itself. Unlike QWizard, pages may jump anywhere, also back to the first page to take
// another round, and decide themselves whether Next moves at all.
class CWizardSheet : public QDialog {
  Q_OBJECT

 public:
  enum Buttons { Back = 1, Next = 2, Finish = 4, DisabledFinish = 8 };

  explicit CWizardSheet(QWidget* parent = nullptr);

  // The sheet takes the page; the first page added is shown first.
  void addPage(CWizardPage* page);
  int pageCount() const { return int(m_pages.size()); }
  CWizardPage* page(int index) const { return m_pages.value(index); }
  CWizardPage* activePage() const { return m_active; }
  CWizardPage* pageAfter(CWizardPage* page) const;
  CWizardPage* pageBefore(CWizardPage* page) const;
  // Leaves the shown page and shows this one; null does nothing.
  void setActivePage(CWizardPage* page);

  // Back shows only when offered; Finish takes Next's place when offered.
  void setWizardButtons(int buttons);
  int wizardButtons() const { return m_buttons; }

  QPushButton* backButton() const { return m_back; }
  QPushButton* nextButton() const { return m_next; }
  QPushButton* finishButton() const { return m_finish; }
  QPushButton* cancelButton() const { return m_cancel; }

  // The buttons' work, as a click does it (only when the button is offered and enabled).
  void pressBack();
  void pressNext();
  void pressFinish();

  int exec() override;

 public slots:
  void reject() override;

 private:
  void leaveActivePage();

  QList<CWizardPage*> m_pages;
  CWizardPage* m_active = nullptr;
  QStackedWidget* m_stack = nullptr;
  QPushButton* m_back = nullptr;
  QPushButton* m_next = nullptr;
  QPushButton* m_finish = nullptr;
  QPushButton* m_cancel = nullptr;
  int m_buttons = 0;
};
