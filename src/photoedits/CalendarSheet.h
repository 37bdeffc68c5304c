#pragma once

#include <QList>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

struct ImageBitmap;

// The calendar project's sheet: a 640 x 960 page with the photo at the top, the month and
// year as a title, the weekday names and a grid of day numbers.

inline constexpr int kCalendarFirstYear = 1900;
inline constexpr int kCalendarLastYear = 2100;
inline constexpr int kCalendarWidth = 640;
inline constexpr int kCalendarHeight = 960;

// "January" to "December" for 1 to 12; "" otherwise.
QString MonthName(int month);
// 28 to 31 by the Gregorian rules; 0 for a month outside 1 to 12.
int DaysInMonth(int month, int year);
// 0 (Sunday) to 6 (Saturday) for any date of the proleptic Gregorian calendar.
int Weekday(int year, int month, int day);
// The year brought into kCalendarFirstYear..kCalendarLastYear.
int ClampCalendarYear(int year);

// The month's 42 cell texts, 6 rows of Sunday to Saturday, "%2d" for a day (" 1") and ""
// for no day; rows: the number of Saturdays in the month + 1.
struct MonthGrid {
  QStringList Cells;
  int Rows = 0;
};
MonthGrid LayOutMonth(int month, int year);

// Where the photo goes: at most 639 x 479, proportions kept, centred across, top at 0.
QRect CalendarPhotoBox(QSize photo);
// The grid's cells from its top: 7 columns 91 wide from x = 0, each row (959 - top) / 6
// high; index row * 7 + column.
QList<QRect> CalendarCells(int gridTop, int rows);

// Draws month and year with the photo into a new 640 x 960 sheet (24 bits, or the photo's
// depth when higher). Result of the imaging library.
int DrawCalendarSheet(const ImageBitmap& photo, int month, int year, ImageBitmap& sheet);
