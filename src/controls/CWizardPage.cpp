#include "controls/CWizardPage.h"

#include "controls/CWizardSheet.h"

CWizardPage::CWizardPage(const QString& caption, int dialogId, QWidget* parent)
    : QWidget(parent), m_caption(caption) {
  setObjectName(QString::number(dialogId));
}

void CWizardPage::setCaption(const QString& caption) {
  m_caption = caption;
  if (m_sheet && m_sheet->activePage() == this) m_sheet->setWindowTitle(caption);
}

void CWizardPage::onWizardNext() {
  if (m_sheet) m_sheet->setActivePage(m_sheet->pageAfter(this));
}

void CWizardPage::onWizardBack() {
  if (m_sheet) m_sheet->setActivePage(m_sheet->pageBefore(this));
}
