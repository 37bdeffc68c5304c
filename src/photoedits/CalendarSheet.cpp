#include "photoedits/CalendarSheet.h"

#include <algorithm>

#include <QFontMetrics>
#include <QPainter>

#include "dis/ltdis.h"
#include "img/ltimg.h"

namespace {
constexpr int kColumnWidth = 91;
constexpr int kGridRight = 7 * kColumnWidth;  // 637
// The photo stays inside the top half of the page.
constexpr int kPhotoWidth = kCalendarWidth - 1, kPhotoHeight = kCalendarHeight / 2 - 1;
// The centres of the weekday names, one a column.
constexpr int kWeekdayCentres[] = {45, 137, 228, 319, 410, 501, 592};
constexpr const char* kWeekdayNames[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};

// Division rounding down, so that years before 1 stay on the same cycle.
int FloorDiv(int a, int b) { return a / b - (a % b != 0 && (a < 0) != (b < 0)); }

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

// Pixel sizes, so that the sheet's resolution never changes the lettering.
QFont SheetFont(int pixelSize) {
  QFont font(QStringLiteral("Sans Serif"));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(pixelSize);
  font.setStyleStrategy(QFont::PreferAntialias);
  return font;
}

// A line of text centred across x, its top at top.
void DrawCentred(QPainter& painter, int x, int top, const QString& text) {
  const int height = painter.fontMetrics().height();
  painter.drawText(QRect(x - kCalendarWidth, top, 2 * kCalendarWidth, height),
                   Qt::AlignHCenter | Qt::AlignTop, text);
}

// With a one-pixel pen Qt draws a rectangle's right and bottom lines one pixel outside
// it; this draws the lines on the given columns and rows.
void DrawFrame(QPainter& painter, int left, int top, int right, int bottom) {
  painter.drawRect(QRect(left, top, right - left, bottom - top));
}
}  // namespace

QString MonthName(int month) {
  static const char* const kNames[] = {"January",   "February", "March",    "April",
                                       "May",       "June",     "July",     "August",
                                       "September", "October",  "November", "December"};
  return month >= 1 && month <= 12 ? QString::fromLatin1(kNames[month - 1]) : QString();
}

int DaysInMonth(int month, int year) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

int Weekday(int year, int month, int day) {
  // Months beyond the year carry into it, so any month number names a date.
  year += FloorDiv(month - 1, 12);
  month = month - 1 - 12 * FloorDiv(month - 1, 12) + 1;
  // Sakamoto's method: January and February count with the year before.
  static constexpr int kMonthOffsets[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
  if (month < 3) --year;
  const int days = year + FloorDiv(year, 4) - FloorDiv(year, 100) + FloorDiv(year, 400) +
                   kMonthOffsets[month - 1] + day;
  return days - 7 * FloorDiv(days, 7);
}

int ClampCalendarYear(int year) { return std::clamp(year, kCalendarFirstYear, kCalendarLastYear); }

MonthGrid LayOutMonth(int month, int year) {
  MonthGrid grid;
  for (int i = 0; i < 42; ++i) grid.Cells << QString();
  const int days = DaysInMonth(month, year);
  if (days == 0) return grid;
  int row = 0;
  for (int day = 1, weekday = Weekday(year, month, 1); day <= days;
       ++day, weekday = (weekday + 1) % 7) {
    grid.Cells[row * 7 + weekday] = QString::asprintf("%2d", day);
    if (weekday == 6) ++row;
  }
  // A month ending on a Saturday keeps the empty row that follows it.
  grid.Rows = row + 1;
  return grid;
}

QRect CalendarPhotoBox(QSize photo) {
  if (photo.isEmpty()) return QRect();
  int w = photo.width(), h = photo.height();
  if (w >= kCalendarWidth) {
    h = int(kPhotoWidth / (double(w) / h));
    w = kPhotoWidth;
  }
  if (h >= kCalendarHeight / 2) {
    w = int(double(w) / h * kPhotoHeight);
    h = kPhotoHeight;
  }
  // A sliver of a panorama still shows as a line.
  w = std::max(1, w);
  h = std::max(1, h);
  return QRect((kCalendarWidth - w) / 2, 0, w, h);
}

QList<QRect> CalendarCells(int gridTop, int rows) {
  const int rowHeight = (kCalendarHeight - 1 - gridTop) / 6;
  QList<QRect> cells;
  for (int row = 0; row < rows; ++row)
    for (int column = 0; column < 7; ++column)
      cells << QRect(column * kColumnWidth, gridTop + row * rowHeight, kColumnWidth, rowHeight);
  return cells;
}

int DrawCalendarSheet(const ImageBitmap& photo, int month, int year, ImageBitmap& sheet) {
  if (!photo.hasPixels() || photo.isEmpty()) return ERROR_NO_BITMAP;
  if (month < 1 || month > 12) return ERROR_INV_PARAMETER;
  ImageBitmap page;
  int code = CreateBitmap(page, 1, kCalendarWidth, kCalendarHeight,
                          photo.BitsPerPixel == 32 ? 32 : 24, ColorOrder::Bgr, nullptr, TopLeft);
  if (code != SUCCESS) return code;
  FillBitmap(page, qRgb(255, 255, 255));
  std::unique_ptr<DeviceContext> dc = CreateBitmapDC(page);
  if (!dc) return ERROR_NO_MEMORY;
  const QRect photoBox = CalendarPhotoBox(photo.shownSize());
  code = PaintBitmap(*dc, photo, QRect(), photoBox, QRect(), RasterOp::Copy);

  QPainter& painter = dc->painter();
  painter.setRenderHint(QPainter::TextAntialiasing);
  painter.setPen(QPen(Qt::black, 1));
  painter.setBrush(Qt::NoBrush);
  const QFont text = SheetFont(13);
  const QFont title = SheetFont(39);

  painter.setFont(title);
  const int titleTop = photoBox.bottom() + 2;
  DrawCentred(painter, kCalendarWidth / 2, titleTop,
              QStringLiteral("%1, %2").arg(MonthName(month)).arg(year));
  painter.setFont(text);
  const int weekdayTop = titleTop + QFontMetrics(title).height() + 1;
  for (int column = 0; column < 7; ++column)
    DrawCentred(painter, kWeekdayCentres[column], weekdayTop,
                QString::fromLatin1(kWeekdayNames[column]));

  const int gridTop = weekdayTop + painter.fontMetrics().height() + 10;
  const MonthGrid grid = LayOutMonth(month, year);
  const QList<QRect> cells = CalendarCells(gridTop, grid.Rows);
  for (qsizetype i = 0; i < cells.size(); ++i) {
    const QRect& cell = cells[i];
    DrawFrame(painter, cell.left(), cell.top(), cell.left() + cell.width(),
              cell.top() + cell.height());
    // Cut at the cell: text drawn in a rectangle stays inside it.
    if (!grid.Cells[i].isEmpty())
      painter.drawText(QRect(cell.left(), cell.top(), cell.width(), cell.height() - 1),
                       Qt::AlignHCenter | Qt::AlignBottom, grid.Cells[i]);
  }
  if (!cells.isEmpty()) {
    const int gridBottom = cells.last().top() + cells.last().height();
    DrawFrame(painter, -1, gridTop - 1, kGridRight + 1, gridBottom + 1);
  }

  const int closed = DeleteBitmapDC(dc);
  if (code != SUCCESS) return code;
  if (closed != SUCCESS) return closed;
  FinishBitmap(page, 0);
  sheet = std::move(page);
  return SUCCESS;
}
