#include "fun/CMagazineCaptionPage.h"

#include <QColorDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "editing/CFramePage.h"
#include "fun/CFunProjectWizard.h"

CMagazineCaptionPage::CMagazineCaptionPage(CFunProjectWizard& wizard)
    : CFunProjectPage(wizard, QStringLiteral("Magazine Cover"), 231) {
  auto* grid = new QGridLayout;
  for (int i = 0; i < 4; ++i) {
    auto* label = new QLabel(QStringLiteral("Caption %1").arg(i + 1), this);
    m_texts[size_t(i)] = new QLineEdit(this);
    m_texts[size_t(i)]->setObjectName(QString::number(1179 + i));
    label->setBuddy(m_texts[size_t(i)]);
    auto* button = new QPushButton(QStringLiteral("Caption &%1 Color").arg(i + 1), this);
    button->setObjectName(QString::number(1192 + 2 * i));
    m_swatches[size_t(i)] = new QLabel(this);
    m_swatches[size_t(i)]->setObjectName(QString::number(1193 + 2 * i));
    m_swatches[size_t(i)]->setFixedSize(24, 24);
    m_swatches[size_t(i)]->setAutoFillBackground(true);
    m_swatches[size_t(i)]->setFrameShape(QFrame::Box);
    grid->addWidget(label, 2 * i, 0, 1, 3);
    grid->addWidget(m_texts[size_t(i)], 2 * i + 1, 0);
    grid->addWidget(button, 2 * i + 1, 1);
    grid->addWidget(m_swatches[size_t(i)], 2 * i + 1, 2);
    connect(m_texts[size_t(i)], &QLineEdit::textChanged, this, &CMagazineCaptionPage::draw);
    connect(button, &QPushButton::clicked, this, [this, i] {
      const QColor chosen = QColorDialog::getColor(m_captions[size_t(i)].Colour, this, QStringLiteral("Color"));
      if (chosen.isValid()) setCaptionColour(i, chosen);
    });
  }
  for (int i = 0; i < 4; ++i) setCaptionColour(i, m_captions[size_t(i)].Colour);
  fields()->addLayout(grid);
  hint()->setText(QStringLiteral("Type an captions if you want.  It will appear on the magazine cover.  You can also "
                                 "choose the color of each caption."));
}

void CMagazineCaptionPage::setCaptionColour(int index, const QColor& colour) {
  m_captions[size_t(index)].Colour = colour;
  QPalette swatch = m_swatches[size_t(index)]->palette();
  swatch.setColor(QPalette::Window, colour);
  m_swatches[size_t(index)]->setPalette(swatch);
  draw();
}

void CMagazineCaptionPage::onSetActive() {
  draw();
  if (sheet()) sheet()->setWizardButtons(CWizardSheet::Back | CWizardSheet::Next);
}

void CMagazineCaptionPage::draw() {
  if (!m_wizard.framePage()) return;
  for (size_t i = 0; i < 4; ++i) m_captions[i].Text = m_texts[i]->text();
  ImageBitmap cover;
  if (DrawMagazineCover(m_wizard.framePage()->framedPicture(), m_captions, cover) == SUCCESS) m_cover = std::move(cover);
  showPicture(&m_cover);
}
