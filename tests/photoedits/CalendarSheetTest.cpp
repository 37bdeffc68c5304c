#include <gtest/gtest.h>

#include <QProcess>

#include "ProjectPictures.h"
#include "photoedits/CalendarSheet.h"

namespace {
// For every month of the calendar's years, Python's own calendar: the year, the month,
// the first day's weekday (0 Sunday), the day count, and the days week by week from
// Sunday with 0 for no day.
constexpr char kPythonCalendar[] = R"(
import calendar
weeks = calendar.Calendar(6)
for year in range(1900, 2101):
    for month in range(1, 13):
        first, days = calendar.monthrange(year, month)
        cells = [day for week in weeks.monthdayscalendar(year, month) for day in week]
        print(year, month, (first + 1) % 7, days, ','.join(map(str, cells)))
)";

using CalendarSheetTest = ProjectPictureTest;
}  // namespace

TEST(CalendarDates, EveryMonthAgreesWithPythonsCalendar) {
  QProcess python;
  python.start(QStringLiteral("python3"),
               {QStringLiteral("-c"), QString::fromLatin1(kPythonCalendar)});
  if (!python.waitForFinished(60000) || python.exitCode() != 0)
    GTEST_SKIP() << "python3 is not available";
  const QStringList lines =
      QString::fromLatin1(python.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 201 * 12);
  for (const QString& line : lines) {
    const QStringList fields = line.split(' ');
    const int year = fields[0].toInt(), month = fields[1].toInt();
    const std::string date = QStringLiteral("%1-%2").arg(year).arg(month).toStdString();
    EXPECT_EQ(Weekday(year, month, 1), fields[2].toInt()) << date;
    EXPECT_EQ(DaysInMonth(month, year), fields[3].toInt()) << date;

    const MonthGrid grid = LayOutMonth(month, year);
    ASSERT_EQ(grid.Cells.size(), 42) << date;
    const QStringList days = fields[4].split(',');
    for (int i = 0; i < 42; ++i) {
      const int day = i < days.size() ? days[i].toInt() : 0;
      EXPECT_EQ(grid.Cells[i], day == 0 ? QString() : QString::asprintf("%2d", day))
          << date << " cell " << i;
    }
    // A row for each week Python lists, and one more after a month ending on a Saturday.
    const bool endsOnSaturday = days.size() % 7 == 0 && days.last().toInt() != 0;
    EXPECT_EQ(grid.Rows, days.size() / 7 + (endsOnSaturday ? 1 : 0)) << date;
  }
}

TEST(CalendarDates, LeapYearsMonthsAndWeekdaysOutsideTheRange) {
  EXPECT_EQ(DaysInMonth(2, 1900), 28);
  EXPECT_EQ(DaysInMonth(2, 2000), 29);
  EXPECT_EQ(DaysInMonth(2, 2004), 29);
  EXPECT_EQ(DaysInMonth(2, 2100), 28);
  EXPECT_EQ(DaysInMonth(0, 2000), 0);
  EXPECT_EQ(DaysInMonth(13, 2000), 0);
  EXPECT_EQ(MonthName(1), "January");
  EXPECT_EQ(MonthName(12), "December");
  EXPECT_EQ(MonthName(13), "");

  // Dates far from the computer clock's range: the first Gregorian day was a Friday, and
  // the calendar carried back to year 1 starts on a Monday.
  EXPECT_EQ(Weekday(1582, 10, 15), 5);
  EXPECT_EQ(Weekday(1, 1, 1), 1);
  EXPECT_EQ(Weekday(2400, 2, 29), 2);
  EXPECT_EQ(Weekday(1969, 12, 31), 3);
  EXPECT_EQ(Weekday(2038, 1, 20), 3);

  EXPECT_EQ(ClampCalendarYear(1899), 1900);
  EXPECT_EQ(ClampCalendarYear(2101), 2100);
  EXPECT_EQ(ClampCalendarYear(2027), 2027);
}

TEST(CalendarDates, AMonthEndingOnASaturdayKeepsAnEmptyLastRow) {
  const MonthGrid february = LayOutMonth(2, 2009);
  EXPECT_EQ(february.Rows, 5);
  EXPECT_EQ(february.Cells[0], " 1");
  EXPECT_EQ(february.Cells[27], "28");
  for (int i = 28; i < 35; ++i) EXPECT_EQ(february.Cells[i], "") << i;

  const MonthGrid august = LayOutMonth(8, 2015);
  EXPECT_EQ(august.Rows, 6);
  EXPECT_EQ(august.Cells[6], " 1");
  EXPECT_EQ(august.Cells[36], "31");

  EXPECT_EQ(LayOutMonth(13, 2015).Rows, 0);
}

TEST(CalendarGeometry, ThePhotoFitsTheTopAndTheGridTheRest) {
  EXPECT_EQ(CalendarPhotoBox(QSize(1600, 1200)), QRect(0, 0, 639, 479));
  EXPECT_EQ(CalendarPhotoBox(QSize(600, 800)), QRect(140, 0, 359, 479));
  EXPECT_EQ(CalendarPhotoBox(QSize(320, 240)), QRect(160, 0, 320, 240));
  EXPECT_EQ(CalendarPhotoBox(QSize(640, 100)), QRect(0, 0, 639, 99));

  const QList<QRect> cells = CalendarCells(550, 6);
  ASSERT_EQ(cells.size(), 42);
  EXPECT_EQ(cells[0], QRect(0, 550, 91, 68));
  EXPECT_EQ(cells[6].left() + cells[6].width(), 637);
  EXPECT_EQ(cells[41], QRect(546, 550 + 5 * 68, 91, 68));
  EXPECT_EQ(CalendarCells(550, 5).size(), 35);
}

TEST_F(CalendarSheetTest, ThePageShowsThePhotoTitleAndGrid) {
  const QRgb red = qRgb(200, 30, 30);
  ImageBitmap sheet;
  ASSERT_EQ(DrawCalendarSheet(FilledPicture(1600, 1200, red), 3, 2027, sheet), SUCCESS);
  ASSERT_EQ(sheet.shownSize(), QSize(640, 960));
  EXPECT_EQ(sheet.BitsPerPixel, 24);
  const QImage page = BitmapToRgb32(sheet);
  EXPECT_EQ(page.pixel(320, 240), red);
  EXPECT_EQ(page.pixel(0, 478), red);
  EXPECT_EQ(page.pixel(639, 240), qRgb(255, 255, 255));

  // The grid: its outer frame one pixel outside its top and right, the columns' lines on
  // multiples of 91. March 2027 has five rows.
  int gridTop = 0;
  for (int y = 480; y < 960 && gridTop == 0; ++y)
    if (IsDark(page.pixel(638, y))) gridTop = y + 1;
  ASSERT_GT(gridTop, 520);
  ASSERT_LT(gridTop, 620);
  const int rowHeight = (959 - gridTop) / 6;
  const int gridBottom = gridTop + 5 * rowHeight;
  for (int x : {0, 91, 182, 546, 637, 638}) EXPECT_TRUE(IsDark(page.pixel(x, gridTop + 3))) << x;
  EXPECT_EQ(page.pixel(639, gridTop + 3), qRgb(255, 255, 255));
  for (int y : {gridTop - 1, gridTop, gridTop + rowHeight, gridBottom, gridBottom + 1})
    EXPECT_TRUE(IsDark(page.pixel(300, y))) << y;
  EXPECT_FALSE(PixelsWhere(sheet, IsDark, QRect(0, gridBottom + 2, 640, 960)).isValid());

  // The title "March, 2027" centred between the photo and the weekday names.
  const QRect title = PixelsWhere(sheet, IsDark, QRect(0, 480, 640, 40));
  ASSERT_TRUE(title.isValid());
  EXPECT_NEAR(title.center().x(), 320, 6);
  EXPECT_GT(title.width(), 150);
  // Monday the first stands at the bottom of the second cell; Sunday's cell is empty.
  const QRect first = PixelsWhere(sheet, IsDark, QRect(92, gridTop + 1, 90, rowHeight - 1));
  ASSERT_TRUE(first.isValid());
  EXPECT_GT(first.top(), gridTop + rowHeight / 2);
  EXPECT_LT(first.bottom(), gridTop + rowHeight - 1);
  EXPECT_FALSE(PixelsWhere(sheet, IsDark, QRect(1, gridTop + 1, 90, rowHeight - 1)).isValid());
}

TEST_F(CalendarSheetTest, ATallPhotoIsCentredAndTheDepthFollowsThePhoto) {
  ImageBitmap sheet;
  ASSERT_EQ(DrawCalendarSheet(FilledPicture(600, 800, qRgb(20, 120, 20), true), 2, 2009, sheet),
            SUCCESS);
  EXPECT_EQ(sheet.BitsPerPixel, 32);
  const QImage page = BitmapToRgb32(sheet);
  EXPECT_EQ(page.pixel(139, 200), qRgb(255, 255, 255));
  EXPECT_EQ(page.pixel(141, 200), qRgb(20, 120, 20));
  EXPECT_EQ(page.pixel(497, 200), qRgb(20, 120, 20));
  EXPECT_EQ(page.pixel(500, 200), qRgb(255, 255, 255));

  ImageBitmap untouched = FilledPicture(4, 4, qRgb(1, 2, 3));
  EXPECT_EQ(DrawCalendarSheet(ImageBitmap(), 2, 2009, untouched), ERROR_NO_BITMAP);
  EXPECT_EQ(DrawCalendarSheet(FilledPicture(10, 10, qRgb(0, 0, 0)), 0, 2009, untouched),
            ERROR_INV_PARAMETER);
  EXPECT_EQ(untouched.Width, 4);
}
