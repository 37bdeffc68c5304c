#include "fun/CGreetingCardPage.h"

#include <QColorDialog>
#include <QFontDialog>
#include <QLabel>
#include <QPageLayout>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QVBoxLayout>

#include "editing/CFramePage.h"
#include "fun/CFunProjectWizard.h"
#include "photoedits/ProjectCards.h"

namespace {
// The default printer's page in its own pixels; empty without a printer.
QSize DefaultPrinterPage() {
  const QPrinterInfo info = QPrinterInfo::defaultPrinter();
  if (info.isNull()) return QSize();
  QPrinter printer(info, QPrinter::HighResolution);
  return printer.pageLayout().fullRectPixels(printer.resolution()).size();
}
}  // namespace

CGreetingCardPage::CGreetingCardPage(CFunProjectWizard& wizard)
    : CFunProjectPage(wizard, QStringLiteral("Greeting Card"), 234), m_cardSize(GreetingCardSize(DefaultPrinterPage())) {
  auto* label = new QLabel(QStringLiteral("Your Message"), this);
  m_message = new QPlainTextEdit(this);
  m_message->setObjectName(QStringLiteral("1160"));
  label->setBuddy(m_message);
  auto* button = new QPushButton(QStringLiteral("Choose &Font and Text Color"), this);
  button->setObjectName(QStringLiteral("1202"));
  m_font = m_message->font();
  m_font.setPointSize(28);
  fields()->addWidget(label);
  fields()->addWidget(m_message, 1);
  fields()->addWidget(button);
  hint()->setText(QStringLiteral("Type what you want your greeting card to say."));
  connect(m_message, &QPlainTextEdit::textChanged, this, &CGreetingCardPage::draw);
  connect(button, &QPushButton::clicked, this, &CGreetingCardPage::chooseFontAndColour);
}

void CGreetingCardPage::chooseFontAndColour() {
  bool chosen = false;
  const QFont font = QFontDialog::getFont(&chosen, m_font, this, QStringLiteral("Font"));
  if (!chosen) return;
  const QColor colour = QColorDialog::getColor(m_colour, this, QStringLiteral("Color"));
  setFontAndColour(font, colour.isValid() ? colour : m_colour);
}

void CGreetingCardPage::setFontAndColour(const QFont& font, const QColor& colour) {
  m_font = font;
  m_colour = colour;
  QFont shown = font;
  shown.setPointSize(std::min(font.pointSize() > 0 ? font.pointSize() : 12, 16));
  m_message->setFont(shown);
  QPalette colours = m_message->palette();
  colours.setColor(QPalette::Text, colour);
  m_message->setPalette(colours);
  draw();
}

void CGreetingCardPage::onSetActive() {
  draw();
  if (sheet()) sheet()->setWizardButtons(CWizardSheet::Back | CWizardSheet::Next);
}

void CGreetingCardPage::draw() {
  if (!m_wizard.framePage()) return;
  ImageBitmap card;
  if (DrawGreetingCard(m_wizard.framePage()->framedPicture(), m_message->toPlainText(), m_font, m_colour, m_cardSize,
                       card) == SUCCESS)
    m_card = std::move(card);
  showPicture(&m_card);
}
