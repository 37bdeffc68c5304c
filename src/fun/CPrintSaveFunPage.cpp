#include "fun/CPrintSaveFunPage.h"

#include <QButtonGroup>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

#include "fun/CFunProjectWizard.h"
#include "fun/CNamePhotoPage.h"

namespace {
constexpr int kBoth = 1194;
constexpr int kPrintOnly = 1003;
constexpr int kSaveOnly = 1196;
}  // namespace

CPrintSaveFunPage::CPrintSaveFunPage(CFunProjectWizard& wizard)
    : CFunProjectPage(wizard, QStringLiteral("Print And Save"), 232) {
  m_choices = new QButtonGroup(this);
  const std::pair<int, const char*> choices[] = {
      {kBoth, "&Both Print and Save it"}, {kPrintOnly, "Only &Print it"}, {kSaveOnly, "Only &Save it"}};
  for (const auto& [id, text] : choices) {
    auto* button = new QRadioButton(QString::fromLatin1(text), this);
    button->setObjectName(QString::number(id));
    m_choices->addButton(button, id);
    fields()->addWidget(button);
  }
  hint()->setText(QString::fromLatin1(wizard.info().Question));
  connect(m_choices, &QButtonGroup::idClicked, this, [this](int id) {
    m_wizard.setChoice(id == kBoth        ? CFunProjectWizard::Choice::Both
                       : id == kPrintOnly ? CFunProjectWizard::Choice::PrintOnly
                                          : CFunProjectWizard::Choice::SaveOnly);
    updateButtons();
  });
}

void CPrintSaveFunPage::updateButtons() {
  if (sheet() && sheet()->activePage() == this)
    sheet()->setWizardButtons(CWizardSheet::Back |
                              (m_wizard.choice() == CFunProjectWizard::Choice::None ? 0 : CWizardSheet::Next));
}

void CPrintSaveFunPage::onSetActive() {
  showPicture(&m_wizard.projectPicture());
  updateButtons();
}

void CPrintSaveFunPage::onWizardNext() {
  if (m_wizard.choice() == CFunProjectWizard::Choice::None) return;
  if (m_wizard.choice() == CFunProjectWizard::Choice::SaveOnly)
    sheet()->setActivePage(m_wizard.namePage());
  else
    CWizardPage::onWizardNext();
}
