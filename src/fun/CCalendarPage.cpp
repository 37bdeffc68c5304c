#include "fun/CCalendarPage.h"

#include <QDate>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QSpinBox>
#include <QVBoxLayout>

#include "controls/BackgroundRunner.h"
#include "controls/FeatureHost.h"
#include "controls/Prompter.h"
#include "fun/CFunProjectWizard.h"
#include "krn/ltkrn.h"
#include "photoedits/CalendarSheet.h"
#include "photoedits/ResizeChoice.h"

CCalendarPage::CCalendarPage(CFunProjectWizard& wizard)
    : CFunProjectPage(wizard, QStringLiteral("Choose a month"), 228) {
  m_months = new QListWidget(this);
  m_months->setObjectName(QStringLiteral("1018"));
  for (int month = 1; month <= 12; ++month) m_months->addItem(MonthName(month));
  m_year = new QSpinBox(this);
  m_year->setObjectName(QStringLiteral("1188"));
  // Wider than the sheet's years, so that a year typed outside them can be told about.
  m_year->setRange(1, 9999);
  m_year->setKeyboardTracking(false);
  auto* yearLabel = new QLabel(QStringLiteral("Year"), this);
  yearLabel->setBuddy(m_year);
  auto* year = new QHBoxLayout;
  year->addWidget(yearLabel);
  year->addWidget(m_year, 1);
  auto* intro = new QLabel(QStringLiteral("Choose the month and year you want for your calendar."), this);
  intro->setWordWrap(true);
  fields()->addWidget(intro);
  fields()->addWidget(m_months, 1);
  fields()->addLayout(year);
  hint()->setText(QStringLiteral("The calendar is drawn as you choose.  Click on it to see it full size."));

  // A white sheet until the first drawing.
  CreateBitmap(m_sheet, 1, kCalendarWidth, kCalendarHeight, 24, ColorOrder::Bgr, nullptr, TopLeft);
  FillBitmap(m_sheet, qRgb(255, 255, 255));
  const QDate today = QDate::currentDate();
  m_months->setCurrentRow(today.month() - 1);
  m_year->setValue(ClampCalendarYear(today.year()));
  showPicture(&m_sheet);
  connect(m_months, &QListWidget::currentRowChanged, this, &CCalendarPage::draw);
  connect(m_year, &QSpinBox::valueChanged, this, &CCalendarPage::yearTyped);
}

int CCalendarPage::month() const { return m_months->currentRow() + 1; }
int CCalendarPage::year() const { return m_year->value(); }

void CCalendarPage::choose(int month, int year) {
  {
    const QSignalBlocker quiet(m_months);
    m_months->setCurrentRow(month - 1);
  }
  const bool changes = m_year->value() != year;
  m_year->setValue(year);  // checks the year and draws
  if (!changes) draw();
}

void CCalendarPage::yearTyped() {
  const int typed = m_year->value();
  const int year = ClampCalendarYear(typed);
  if (year != typed) {
    m_wizard.host().prompter().showError(this, QStringLiteral("A calendar can be made for the years %1 to %2; %3 "
                                                              "became %4.")
                                                   .arg(kCalendarFirstYear)
                                                   .arg(kCalendarLastYear)
                                                   .arg(typed)
                                                   .arg(year));
    const QSignalBlocker quiet(m_year);
    m_year->setValue(year);
  }
  draw();
}

void CCalendarPage::onSetActive() {
  // The photo reduced once to its box, so that each month is drawn at once (and averaged
  // down rather than stretched).
  FeatureHost& host = m_wizard.host();
  BackgroundTask task;
  task.text = QStringLiteral("Preparing the photo...");
  task.objectName = QStringLiteral("calendarPhotoProgress");
  m_photo = host.backgroundRunner().run(task, [photo = host.workingPicture()](BackgroundJob&) mutable {
    const QRect box = CalendarPhotoBox(photo.shownSize());
    if (photo.hasPixels() && !box.isEmpty() && box.size() != photo.shownSize())
      ResizeToShownSize(photo, box.width(), box.height());
    return photo;
  });
  draw();
  if (sheet()) sheet()->setWizardButtons(CWizardSheet::Back | CWizardSheet::Next);
}

void CCalendarPage::draw() {
  ImageBitmap drawn;
  if (DrawCalendarSheet(m_photo, month(), year(), drawn) == SUCCESS) m_sheet = std::move(drawn);
  showPicture(&m_sheet);
}
