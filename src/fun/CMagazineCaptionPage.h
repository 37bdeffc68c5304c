#pragma once

#include "fun/CFunProjectPage.h"
#include "krn/ImageBitmap.h"
#include "photoedits/ProjectCards.h"

class QLabel;
class QLineEdit;

// The magazine cover's page: four captions, each in a colour of its own.
class CMagazineCaptionPage : public CFunProjectPage {
  Q_OBJECT

 public:
  explicit CMagazineCaptionPage(CFunProjectWizard& wizard);

  const ImageBitmap* madePicture() const override { return &m_cover; }
  const MagazineCaptions& captions() const { return m_captions; }
  // What a colour button does after the colour dialog's OK.
  void setCaptionColour(int index, const QColor& colour);

  void onSetActive() override;

 private:
  void draw();

  ImageBitmap m_cover;
  MagazineCaptions m_captions = DefaultMagazineCaptions();
  std::array<QLineEdit*, 4> m_texts{};
  std::array<QLabel*, 4> m_swatches{};
};
