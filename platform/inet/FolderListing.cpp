#include "inet/FolderListing.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

const FileEntry* FindEntry(const QList<FileEntry>& entries, const QString& name) {
  for (const FileEntry& entry : entries)
    if (entry.name == name) return &entry;
  return nullptr;
}

bool IsSafeFileName(const QString& name) {
  if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..")) return false;
  if (name.toUtf8().size() > 255) return false;
  for (QChar c : name) {
    const char16_t u = c.unicode();
    if (u < 0x20 || u == 0x7f || u == '/' || u == '\\') return false;
  }
  return true;
}

QList<FileEntry> ListFolder(const QString& folder) {
  QList<FileEntry> entries;
  const QFileInfoList files = QDir(folder).entryInfoList(QDir::Files, QDir::Name);
  for (const QFileInfo& file : files)
    entries.prepend(FileEntry{file.fileName(), file.lastModified().toUTC(), file.size()});
  return entries;
}

namespace {

void Take(QList<FileEntry>& entries, const QString& name, const QDateTime& time, qint64 size, QStringList* refused) {
  if (!IsSafeFileName(name)) {
    if (refused) refused->append(name);
    return;
  }
  entries.prepend(FileEntry{name, time, size});
}

QList<QByteArray> Lines(const QByteArray& listing) {
  QList<QByteArray> lines = listing.split('\n');
  for (QByteArray& line : lines)
    if (line.endsWith('\r')) line.chop(1);
  return lines;
}

}  // namespace

QList<FileEntry> ParseMlsdListing(const QByteArray& listing, QStringList* refused) {
  QList<FileEntry> entries;
  for (const QByteArray& line : Lines(listing)) {
    const qsizetype space = line.indexOf(' ');
    if (space <= 0) continue;
    bool isFile = false;
    qint64 size = 0;
    QDateTime modified;
    for (const QByteArray& fact : line.left(space).split(';')) {
      const qsizetype equals = fact.indexOf('=');
      if (equals <= 0) continue;
      const QByteArray key = fact.left(equals).toLower();
      const QByteArray value = fact.mid(equals + 1);
      if (key == "type") {
        isFile = value.toLower() == "file";
      } else if (key == "size") {
        size = qMax<qint64>(0, value.toLongLong());
      } else if (key == "modify") {
        modified = QDateTime::fromString(QString::fromLatin1(value.left(14)), QStringLiteral("yyyyMMddHHmmss"));
        modified.setTimeSpec(Qt::UTC);
      }
    }
    if (isFile) Take(entries, QString::fromUtf8(line.mid(space + 1)), modified, size, refused);
  }
  return entries;
}

QList<FileEntry> ParseListListing(const QByteArray& listing, const QDateTime& now, QStringList* refused) {
  static const QRegularExpression unixLine(
      QStringLiteral(R"(^([-dlbcps])\S*\s+\d+\s+\S+\s+\S+\s+(\d+)\s+(\w{3})\s+(\d{1,2})\s+(\d{1,2}:\d{2}|\d{4}) (.+)$)"));
  static const QRegularExpression dosLine(
      QStringLiteral(R"(^(\d{2})-(\d{2})-(\d{2,4})\s+(\d{1,2}):(\d{2})([AaPp][Mm])?\s+(<DIR>|\d+)\s+(.+)$)"));
  static const char* const kMonths[] = {"jan", "feb", "mar", "apr", "may", "jun",
                                        "jul", "aug", "sep", "oct", "nov", "dec"};
  const QDateTime nowUtc = now.toUTC();
  QList<FileEntry> entries;
  for (const QByteArray& raw : Lines(listing)) {
    const QString line = QString::fromUtf8(raw);
    if (const auto m = unixLine.match(line); m.hasMatch()) {
      if (m.captured(1) != QLatin1String("-")) continue;
      int month = 0;
      for (int i = 0; i < 12; ++i)
        if (m.captured(3).toLower() == QLatin1String(kMonths[i])) month = i + 1;
      const int day = m.captured(4).toInt();
      QTime time(0, 0);
      int year = nowUtc.date().year();
      if (m.captured(5).contains(QLatin1Char(':'))) {
        time = QTime::fromString(m.captured(5), QStringLiteral("H:mm"));
        // Listings leave out the year of the last six months; a date more than a day
        // ahead of now is from last year.
        if (QDateTime(QDate(year, month, day), time, Qt::UTC) > nowUtc.addDays(1)) --year;
      } else {
        year = m.captured(5).toInt();
      }
      Take(entries, m.captured(6), QDateTime(QDate(year, month, day), time, Qt::UTC),
           m.captured(2).toLongLong(), refused);
    } else if (const auto d = dosLine.match(line); d.hasMatch()) {
      if (d.captured(7) == QLatin1String("<DIR>")) continue;
      int year = d.captured(3).toInt();
      if (year < 100) year += year < 70 ? 2000 : 1900;
      int hour = d.captured(4).toInt() % 12;
      if (d.captured(6).isEmpty()) hour = d.captured(4).toInt();
      else if (d.captured(6).toLower() == QLatin1String("pm")) hour += 12;
      const QDateTime time(QDate(year, d.captured(1).toInt(), d.captured(2).toInt()), QTime(hour, d.captured(5).toInt()),
                           Qt::UTC);
      Take(entries, d.captured(8), time, d.captured(7).toLongLong(), refused);
    }
  }
  return entries;
}
