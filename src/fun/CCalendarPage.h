#pragma once

#include "fun/CFunProjectPage.h"
#include "krn/ImageBitmap.h"

class QListWidget;
class QSpinBox;

// "Choose a month": the calendar project's page. The month and year chosen are drawn with
// the photo into a 640 x 960 sheet, which is the project's picture.
class CCalendarPage : public CFunProjectPage {
  Q_OBJECT

 public:
  explicit CCalendarPage(CFunProjectWizard& wizard);

  const ImageBitmap* madePicture() const override { return &m_sheet; }
  int month() const;
  int year() const;
  // Chooses month (1 to 12) and year; a year outside the sheet's range is brought into it
  // with a message.
  void choose(int month, int year);

  void onSetActive() override;

 private:
  void yearTyped();
  void draw();

  ImageBitmap m_photo;
  ImageBitmap m_sheet;
  QListWidget* m_months;
  QSpinBox* m_year;
};
