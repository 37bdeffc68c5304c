#include "AddressBook.h"

#include <QFile>

#include "system/AtomicFile.h"
#include "system/Folders.h"

namespace {

constexpr qsizetype kLineLimit = 511;

QString ReadLine(const QByteArray& line) {
  QString text = QString::fromUtf8(line).left(kLineLimit);
  qsizetype end = text.size();
  while (end > 0 && text[end - 1].isSpace()) --end;
  return text.left(end);
}

// The leading decimal number of a line, as atoi reads it; 0 when there is none.
qsizetype Count(const QString& line) {
  const QString text = line.trimmed();
  qsizetype digits = 0;
  const bool negative = text.startsWith(u'-');
  const qsizetype start = (negative || text.startsWith(u'+')) ? 1 : 0;
  while (start + digits < text.size() && text[start + digits].isDigit() && digits < 9) ++digits;
  const qsizetype value = digits ? text.mid(start, digits).toLongLong() : 0;
  return negative ? 0 : value;
}

}  // namespace

QString AddressBookFile() { return GetUserDataFolder() + QStringLiteral("addrbook.dat"); }

QList<AddressBookEntry> LoadAddressBook(const QString& file) {
  QFile in(file);
  QList<AddressBookEntry> entries;
  if (!in.open(QIODevice::ReadOnly)) return entries;
  QList<QByteArray> lines = in.readAll().split('\n');
  // The text after the last line end is a line only when it is not empty.
  if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
  if (lines.isEmpty()) return entries;
  const qsizetype count = Count(ReadLine(lines[0]));
  for (qsizetype i = 1; i < lines.size() && entries.size() < count; i += 2) {
    // A name without its address line at the end of the file keeps an empty address.
    entries.append({ReadLine(lines[i]), i + 1 < lines.size() ? ReadLine(lines[i + 1]) : QString()});
  }
  return entries;
}

bool IsStorableAddressBookText(const QString& text) {
  return text.size() <= kLineLimit && !text.contains(u'\n') && !text.contains(u'\r');
}

bool SaveAddressBook(const QString& file, const QList<AddressBookEntry>& entries) {
  QByteArray content = QByteArray::number(entries.size()) + '\n';
  for (const AddressBookEntry& entry : entries) {
    if (!IsStorableAddressBookText(entry.name) || !IsStorableAddressBookText(entry.address))
      return false;
    content += entry.name.toUtf8() + '\n' + entry.address.toUtf8() + '\n';
  }
  return WriteFileAtomically(file, content);
}
