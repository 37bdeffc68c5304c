#pragma once

#include <QColor>
#include <QFont>
#include <QSize>

#include "fun/CFunProjectPage.h"
#include "krn/ImageBitmap.h"

class QPlainTextEdit;

// The greeting card's page: the message inside the card, in a font and colour of the
// user's. The card is a quarter of the printer's page each way, to be folded in four.
class CGreetingCardPage : public CFunProjectPage {
  Q_OBJECT

 public:
  explicit CGreetingCardPage(CFunProjectWizard& wizard);

  const ImageBitmap* madePicture() const override { return &m_card; }
  QSize cardSize() const { return m_cardSize; }
  QPlainTextEdit* messageEdit() const { return m_message; }
  // What "Choose &Font and Text Color" does after the desktop's font and colour dialogs.
  void setFontAndColour(const QFont& font, const QColor& colour);

  void onSetActive() override;

 private:
  void chooseFontAndColour();
  void draw();

  ImageBitmap m_card;
  QSize m_cardSize;
  QFont m_font;
  QColor m_colour = Qt::black;
  QPlainTextEdit* m_message;
};
