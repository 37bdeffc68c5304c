#pragma once

#include "fun/CFunProjectPage.h"
#include "krn/ImageBitmap.h"

class QLineEdit;

// The sports card's page: the player's name, written on the card in its name section.
class CSportsCardNamePage : public CFunProjectPage {
  Q_OBJECT

 public:
  explicit CSportsCardNamePage(CFunProjectWizard& wizard);

  const ImageBitmap* madePicture() const override { return &m_card; }
  QLineEdit* nameEdit() const { return m_name; }

  void onSetActive() override;

 private:
  void draw();

  ImageBitmap m_card;
  QLineEdit* m_name;
};
