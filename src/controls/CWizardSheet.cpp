#include "controls/CWizardSheet.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "controls/CWizardPage.h"

CWizardSheet::CWizardSheet(QWidget* parent) : QDialog(parent) {
  m_stack = new QStackedWidget(this);
  auto* line = new QFrame(this);
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);

  m_back = new QPushButton(tr("< &Back"), this);
  m_next = new QPushButton(tr("&Next >"), this);
  m_finish = new QPushButton(tr("Finish"), this);
  m_cancel = new QPushButton(tr("Cancel"), this);
  m_back->setObjectName("backButton");
  m_next->setObjectName("nextButton");
  m_finish->setObjectName("finishButton");
  m_cancel->setObjectName("cancelButton");
  for (QPushButton* button : {m_back, m_next, m_finish, m_cancel}) button->setAutoDefault(false);
  connect(m_back, &QPushButton::clicked, this, &CWizardSheet::pressBack);
  connect(m_next, &QPushButton::clicked, this, &CWizardSheet::pressNext);
  connect(m_finish, &QPushButton::clicked, this, &CWizardSheet::pressFinish);
  connect(m_cancel, &QPushButton::clicked, this, &CWizardSheet::reject);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(m_back);
  buttons->addWidget(m_next);
  buttons->addWidget(m_finish);
  buttons->addSpacing(8);
  buttons->addWidget(m_cancel);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_stack, 1);
  layout->addWidget(line);
  layout->addLayout(buttons);
  setWizardButtons(Next);
}

void CWizardSheet::addPage(CWizardPage* page) {
  page->m_sheet = this;
  m_pages.append(page);
  m_stack->addWidget(page);
}

CWizardPage* CWizardSheet::pageAfter(CWizardPage* page) const {
  return m_pages.value(m_pages.indexOf(page) + 1);
}

CWizardPage* CWizardSheet::pageBefore(CWizardPage* page) const {
  const int index = int(m_pages.indexOf(page));
  return index > 0 ? m_pages.value(index - 1) : nullptr;
}

void CWizardSheet::leaveActivePage() {
  if (m_active) m_active->onKillActive();
}

void CWizardSheet::setActivePage(CWizardPage* page) {
  if (!page || !m_pages.contains(page)) return;
  leaveActivePage();
  m_active = page;
  m_stack->setCurrentWidget(page);
  setWindowTitle(page->caption());
  page->onSetActive();
}

void CWizardSheet::setWizardButtons(int buttons) {
  m_buttons = buttons;
  const bool finish = (buttons & (Finish | DisabledFinish)) != 0;
  m_back->setVisible((buttons & Back) != 0);
  m_next->setVisible(!finish);
  m_next->setEnabled((buttons & Next) != 0);
  m_finish->setVisible(finish);
  m_finish->setEnabled((buttons & Finish) != 0);
  QPushButton* forward = finish ? m_finish : m_next;
  forward->setDefault(forward->isEnabled());
}

void CWizardSheet::pressBack() {
  if (m_active && m_back->isVisible() && m_back->isEnabled()) m_active->onWizardBack();
}

void CWizardSheet::pressNext() {
  if (m_active && m_next->isVisible() && m_next->isEnabled()) m_active->onWizardNext();
}

void CWizardSheet::pressFinish() {
  if (!m_active || !m_finish->isVisible() || !m_finish->isEnabled()) return;
  if (!m_active->onWizardFinish()) return;
  leaveActivePage();
  m_active = nullptr;
  accept();
}

int CWizardSheet::exec() {
  if (!m_active && !m_pages.isEmpty()) setActivePage(m_pages.first());
  return QDialog::exec();
}

void CWizardSheet::reject() {
  leaveActivePage();
  m_active = nullptr;
  QDialog::reject();
}
