#include "fun/CSportsCardNamePage.h"

#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "editing/CFramePage.h"
#include "fun/CFunProjectWizard.h"
#include "photoedits/ProjectCards.h"

CSportsCardNamePage::CSportsCardNamePage(CFunProjectWizard& wizard)
    : CFunProjectPage(wizard, QStringLiteral("Sports Card"), 230) {
  auto* text = new QLabel(QStringLiteral("Type the name of your player.  It will appear on the card.  "), this);
  text->setWordWrap(true);
  m_name = new QLineEdit(this);
  m_name->setObjectName(QStringLiteral("1051"));
  fields()->addWidget(text);
  fields()->addWidget(m_name);
  hint()->setText(QStringLiteral("Type the name of the person in the sports card.  It will appear in the name section "
                                 "on the card."));
  connect(m_name, &QLineEdit::textChanged, this, &CSportsCardNamePage::draw);
}

void CSportsCardNamePage::onSetActive() {
  draw();
  if (sheet()) sheet()->setWizardButtons(CWizardSheet::Back | CWizardSheet::Next);
  m_name->setFocus();
}

void CSportsCardNamePage::draw() {
  // Made afresh from the composed template each time, so a new template keeps the name.
  ImageBitmap card;
  if (DrawSportsCard(m_wizard.framePage()->framedPicture(), m_name->text(), card) == SUCCESS) m_card = std::move(card);
  showPicture(&m_card);
}
