#include "system/Profile.h"

#include <algorithm>
#include <functional>
#include <limits>
#include <string>

#include <QFile>
#include <QFileInfo>

#include "system/AtomicFile.h"
#include "system/FolderLock.h"
#include "system/Folders.h"

// Only the UTF-8 (char) form of SimpleIni is used, so no wide-character converter. Debian's
// header keeps the template bodies behind SI_IMPLEMENTATION; this is their one user.
#define SI_NO_CONVERSION
#define SI_IMPLEMENTATION
#include <SimpleIni.h>

namespace {
// A settings file is a few hundred bytes; anything past this is not one of ours.
constexpr qint64 kMaxProfileSize = 4 * 1024 * 1024;

enum class LoadResult { Loaded, Missing, Unreadable };
enum class Change { Write, Unchanged, Failed };

void Configure(CSimpleIniA& ini) {
  ini.SetUnicode(true);
  ini.SetMultiKey(false);
  ini.SetMultiLine(false);
  ini.SetQuotes(false);
  ini.SetSpaces(false);
}

bool IsCommentOrBlank(const QByteArray& line) {
  const QByteArray text = line.trimmed();
  return text.isEmpty() || text.startsWith(';') || text.startsWith('#');
}

// SimpleIni keeps a comment with the entry that follows it, so comments after the last
// entry would be lost on a write; they are carried over by hand. A file of comments only
// has no entry at all: then all of them are.
QByteArray TrailingComments(const QByteArray& data) {
  const QList<QByteArray> lines = data.split('\n');
  qsizetype first = lines.size();
  while (first > 0 && IsCommentOrBlank(lines[first - 1])) --first;
  QByteArray comments;
  for (qsizetype i = first; i < lines.size(); ++i) {
    const QByteArray line = lines[i].trimmed();
    if (!line.isEmpty()) comments += line + '\n';
  }
  return comments;
}

bool HasEntries(const QByteArray& data) {
  const QList<QByteArray> lines = data.split('\n');
  return !std::all_of(lines.begin(), lines.end(), IsCommentOrBlank);
}

LoadResult Load(const QString& path, CSimpleIniA& ini, QByteArray* trailingComments = nullptr,
                bool* hasEntries = nullptr) {
  Configure(ini);
  QFile file(path);
  if (!file.exists()) return LoadResult::Missing;
  if (file.size() > kMaxProfileSize || !file.open(QIODevice::ReadOnly))
    return LoadResult::Unreadable;
  const QByteArray data = file.read(kMaxProfileSize + 1);
  if (file.error() != QFileDevice::NoError || data.size() > kMaxProfileSize)
    return LoadResult::Unreadable;
  if (trailingComments) *trailingComments = TrailingComments(data);
  if (hasEntries) *hasEntries = HasEntries(data);
  return ini.LoadData(data.constData(), static_cast<size_t>(data.size())) < 0
             ? LoadResult::Unreadable
             : LoadResult::Loaded;
}

bool HasLineBreak(const QString& text) {
  return text.contains('\n') || text.contains('\r') || text.contains(QChar(0));
}

bool IsValidSection(const QString& section) {
  return !section.trimmed().isEmpty() && !HasLineBreak(section) && !section.contains(']');
}

bool IsValidKey(const QString& key) {
  const QString trimmed = key.trimmed();
  return !trimmed.isEmpty() && !HasLineBreak(key) && !key.contains('=') &&
         !trimmed.startsWith('[') && !trimmed.startsWith(';') && !trimmed.startsWith('#');
}

bool IsBlank(QChar c) { return c == ' ' || c == '\t'; }

bool IsQuotedPair(const QString& value) {
  return value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
         value.back() == value.front();
}

// The text stored for a value: what the reader turns back into the same value.
QByteArray StoredValue(const QString& value) {
  QString text = value;
  text.replace(QLatin1String("\r\n"), QLatin1String(" "));
  text.replace('\r', ' ').replace('\n', ' ');
  text.remove(QChar(0));
  const bool quote = (!text.isEmpty() && (IsBlank(text.front()) || IsBlank(text.back()))) ||
                     IsQuotedPair(text);
  return (quote ? '"' + text + '"' : text).toUtf8();
}

QString ReadableValue(const char* stored) {
  QString value = QString::fromUtf8(stored);
  if (IsQuotedPair(value)) value = value.mid(1, value.size() - 2);
  return value;
}

// Loads the file under the folder's lock, applies the change and writes the result back.
bool Modify(const QString& file, const std::function<Change(CSimpleIniA&)>& change) {
  const QString path = ProfileFilePath(file);
  const QString folder = QFileInfo(path).absolutePath();
  if (!MakePrivateFolder(folder)) return false;
  FolderLock lock(folder);
  CSimpleIniA ini;
  QByteArray comments;
  bool hasEntries = false;
  // Writing over a file that could not be read would throw its other content away.
  if (Load(path, ini, &comments, &hasEntries) == LoadResult::Unreadable) return false;
  if (!hasEntries) {
    ini.Reset();
    Configure(ini);
  }
  switch (change(ini)) {
    case Change::Failed: return false;
    case Change::Unchanged: return true;
    case Change::Write: break;
  }
  std::string saved;
  if (ini.Save(saved) < 0) return false;
  QByteArray text = QByteArray::fromStdString(saved);
  if (!comments.isEmpty()) text = hasEntries ? text + comments : comments + '\n' + text;
  return WriteFileAtomically(path, text);
}
}  // namespace

QString ProfileFilePath(const QString& file) {
  if (file.contains('/')) return file;
  return GetWindowsFolder() + file;
}

std::optional<QString> QueryProfileString(const QString& file, const QString& section,
                                          const QString& key) {
  if (!IsValidSection(section) || !IsValidKey(key)) return std::nullopt;
  CSimpleIniA ini;
  if (Load(ProfileFilePath(file), ini) != LoadResult::Loaded) return std::nullopt;
  const char* value = ini.GetValue(section.trimmed().toUtf8().constData(),
                                   key.trimmed().toUtf8().constData(), nullptr);
  if (!value) return std::nullopt;
  return ReadableValue(value);
}

QString ReadProfileString(const QString& file, const QString& section, const QString& key,
                          const QString& defaultValue) {
  return QueryProfileString(file, section, key).value_or(defaultValue);
}

int ReadProfileInt(const QString& file, const QString& section, const QString& key,
                   int defaultValue) {
  const std::optional<QString> value = QueryProfileString(file, section, key);
  if (!value || value->trimmed().isEmpty()) return defaultValue;
  const QString text = value->trimmed();
  qsizetype i = 0;
  bool negative = false;
  if (text[i] == '-' || text[i] == '+') negative = text[i++] == '-';
  qint64 number = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    number = number * 10 + (text[i].unicode() - '0');
    // Past the int range the value saturates instead of wrapping round.
    if (number > std::numeric_limits<int>::max()) {
      number = std::numeric_limits<int>::max() + qint64(negative);
      break;
    }
  }
  return static_cast<int>(negative ? -number : number);
}

bool WriteProfileString(const QString& file, const QString& section, const QString& key,
                        const QString& value) {
  if (!IsValidSection(section) || !IsValidKey(key)) return false;
  const QByteArray sectionName = section.trimmed().toUtf8();
  const QByteArray keyName = key.trimmed().toUtf8();
  const QByteArray stored = StoredValue(value);
  return Modify(file, [&](CSimpleIniA& ini) {
    return ini.SetValue(sectionName.constData(), keyName.constData(), stored.constData()) < 0
               ? Change::Failed
               : Change::Write;
  });
}

bool DeleteProfileKey(const QString& file, const QString& section, const QString& key) {
  if (!IsValidSection(section) || !IsValidKey(key)) return false;
  const QByteArray sectionName = section.trimmed().toUtf8();
  const QByteArray keyName = key.trimmed().toUtf8();
  return Modify(file, [&](CSimpleIniA& ini) {
    return ini.Delete(sectionName.constData(), keyName.constData(), false) ? Change::Write
                                                                           : Change::Unchanged;
  });
}

bool DeleteProfileSection(const QString& file, const QString& section) {
  if (!IsValidSection(section)) return false;
  const QByteArray sectionName = section.trimmed().toUtf8();
  return Modify(file, [&](CSimpleIniA& ini) {
    return ini.Delete(sectionName.constData(), nullptr, false) ? Change::Write
                                                               : Change::Unchanged;
  });
}
