#include "system/Profile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <limits>
#include <mutex>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStringDecoder>

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
constexpr qint64 kMaxProfileSize = 1024 * 1024;

enum class LoadResult { Loaded, Missing, NotUsed };
enum class Change { Write, Unchanged, Failed };

// The files noted as not used, each once per process.
struct Notices {
  std::mutex mutex;
  QSet<QString> noted;
  QList<ProfileNotice> pending;
};

Notices& TheNotices() {
  static Notices notices;
  return notices;
}

void Note(const QString& path, const QString& reason) {
  const QString absolute = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
  Notices& notices = TheNotices();
  std::lock_guard lock(notices.mutex);
  if (notices.noted.contains(absolute)) return;
  notices.noted.insert(absolute);
  notices.pending.append({absolute, reason});
}

QString ErrorText(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

bool IsRegularFile(const struct stat& info) { return S_ISREG(info.st_mode); }

// The bytes of the file. Only a regular file is opened, and without waiting: a FIFO would
// block the open until a writer came, and a device may never end.
LoadResult ReadBytes(const QString& path, QByteArray& data, QString& reason) {
  const QByteArray name = QFile::encodeName(path);
  struct stat info {};
  if (::stat(name.constData(), &info) != 0) {
    if (errno == ENOENT || errno == ENOTDIR) return LoadResult::Missing;
    reason = QStringLiteral("it cannot be examined (%1)").arg(ErrorText(errno));
    return LoadResult::NotUsed;
  }
  const QString notRegular = QStringLiteral("it is not a regular file");
  const QString tooLarge = QStringLiteral("it is larger than 1 MB");
  if (!IsRegularFile(info)) {
    reason = notRegular;
    return LoadResult::NotUsed;
  }
  if (info.st_size > kMaxProfileSize) {
    reason = tooLarge;
    return LoadResult::NotUsed;
  }
  // The path may have been replaced since the stat: O_NONBLOCK keeps even that open from
  // waiting, and the descriptor is checked again.
  const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT) return LoadResult::Missing;
    reason = QStringLiteral("it cannot be opened (%1)").arg(ErrorText(errno));
    return LoadResult::NotUsed;
  }
  LoadResult result = LoadResult::Loaded;
  if (::fstat(fd, &info) != 0 || !IsRegularFile(info)) {
    reason = notRegular;
    result = LoadResult::NotUsed;
  } else {
    // One byte more than the file's size tells a file that grew meanwhile, and one more
    // than allowed a file that grew past the limit; the buffer is no larger than the file.
    data.resize(qsizetype(std::min<qint64>(info.st_size, kMaxProfileSize)) + 1);
    qsizetype size = 0;
    for (;;) {
      if (size == data.size()) {
        if (size > kMaxProfileSize) break;
        data.resize(std::min<qsizetype>(2 * size, kMaxProfileSize + 1));
      }
      const ssize_t got = ::read(fd, data.data() + size, static_cast<size_t>(data.size() - size));
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) {
        reason = QStringLiteral("it cannot be read (%1)").arg(ErrorText(errno));
        result = LoadResult::NotUsed;
        break;
      }
      if (got == 0) break;
      size += got;
    }
    data.truncate(size);
    if (result == LoadResult::Loaded && size > kMaxProfileSize) {
      reason = tooLarge;
      result = LoadResult::NotUsed;
    }
  }
  ::close(fd);
  return result;
}

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// UTF-8, after an optional byte-order mark, or UTF-16 after its byte-order mark; nullopt
// for anything else, such as UTF-16 without the mark (whose NUL bytes are not UTF-8 text
// either) or a lone surrogate.
std::optional<QString> DecodeText(const QByteArray& data) {
  QStringConverter::Encoding encoding = QStringConverter::Utf8;
  qsizetype skip = 0;
  if (data.startsWith("\xEF\xBB\xBF")) {
    skip = 3;
  } else if (data.startsWith("\xFF\xFE")) {
    encoding = QStringConverter::Utf16LE;
    skip = 2;
  } else if (data.startsWith("\xFE\xFF")) {
    encoding = QStringConverter::Utf16BE;
    skip = 2;
  }
  const QByteArrayView bytes = QByteArrayView(data).sliced(skip);
  if (encoding != QStringConverter::Utf8 && bytes.size() % 2 != 0) return std::nullopt;
  // A second mark is kept as a character: it then makes the first line one not understood.
  // Stateless: a sequence cut off at the end is an error, not a state kept for more input.
  QStringDecoder decoder(encoding,
                         QStringConverter::Flag::ConvertInitialBom | QStringConverter::Flag::Stateless);
  QString text = decoder.decode(bytes);
  if (decoder.hasError()) return std::nullopt;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char16_t c = text[i].unicode();
    if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1].unicode()))
      ++i;
    else if (IsHighSurrogate(c) || IsLowSurrogate(c))
      return std::nullopt;
  }
  return text;
}

bool IsBlank(QChar c) { return c == ' ' || c == '\t'; }

// A control character other than the tab and the line breaks: how SimpleIni would take it
// is not something the file should depend on.
bool IsStrayControl(QChar c) { return c.unicode() < 0x20 && c != '\t' && c != '\n' && c != '\r'; }

// Blanks (spaces and tabs only, as SimpleIni counts them) off both ends.
QStringView Blankless(QStringView text) {
  while (!text.isEmpty() && IsBlank(text.front())) text = text.sliced(1);
  while (!text.isEmpty() && IsBlank(text.back())) text.chop(1);
  return text;
}

// Checks every line of the text, split at LF, CR LF or CR; returns the reason the file is
// not used, or an empty text when it is understood in full.
QString Misunderstanding(const QStringList& lines) {
  QSet<QString> keys;
  QString section;
  for (qsizetype i = 0; i < lines.size(); ++i) {
    const QStringView line = Blankless(lines[i]);
    const QString where = QStringLiteral("line %1 ").arg(i + 1);
    if (line.isEmpty() || line.front() == ';' || line.front() == '#') continue;
    if (line.front() == '[') {
      const QStringView name = Blankless(line.sliced(1).chopped(line.back() == ']' ? 1 : 0));
      if (line.size() < 2 || line.back() != ']' || name.isEmpty() || name.contains(']'))
        return where + QStringLiteral("is not a whole [section] header");
      section = name.toString().toCaseFolded();
      continue;
    }
    const qsizetype equals = line.indexOf('=');
    const QStringView key = equals < 0 ? QStringView() : Blankless(line.first(equals));
    if (key.isEmpty())
      return where + QStringLiteral("is not a comment, a [section] or a key=value line");
    // SimpleIni would keep one of the two, and the next write would drop the other.
    const QString entry = section + '\n' + key.toString().toCaseFolded();
    if (keys.contains(entry)) return where + QStringLiteral("repeats a key of its section");
    keys.insert(entry);
  }
  return {};
}

// The file's text as UTF-8 with LF line breaks, which is what SimpleIni is given, so that
// it sees exactly the lines checked here; or why the file is not used.
std::optional<QByteArray> UnderstoodText(const QByteArray& data, QString& reason) {
  const std::optional<QString> text = DecodeText(data);
  if (!text) {
    reason = QStringLiteral("it is not UTF-8 or UTF-16 text");
    return std::nullopt;
  }
  if (text->contains(QChar(0))) {
    reason = QStringLiteral("it holds a NUL character");
    return std::nullopt;
  }
  if (std::any_of(text->begin(), text->end(), IsStrayControl)) {
    reason = QStringLiteral("it holds a control character");
    return std::nullopt;
  }
  QString normal = *text;
  normal.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace('\r', '\n');
  const QStringList lines = normal.split('\n');
  reason = Misunderstanding(lines);
  if (!reason.isEmpty()) return std::nullopt;
  return normal.toUtf8();
}

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

// Loads a file that is understood in full; notes one that exists and is not.
LoadResult Load(const QString& path, CSimpleIniA& ini, QByteArray* trailingComments = nullptr,
                bool* hasEntries = nullptr) {
  Configure(ini);
  QByteArray data;
  QString reason;
  const LoadResult read = ReadBytes(path, data, reason);
  if (read == LoadResult::Missing) return read;
  std::optional<QByteArray> text;
  if (read == LoadResult::Loaded) text = UnderstoodText(data, reason);
  if (text && ini.LoadData(text->constData(), static_cast<size_t>(text->size())) < 0) {
    reason = QStringLiteral("it cannot be parsed");
    text.reset();
  }
  if (!text) {
    Note(path, reason);
    return LoadResult::NotUsed;
  }
  if (trailingComments) *trailingComments = TrailingComments(*text);
  if (hasEntries) *hasEntries = HasEntries(*text);
  return LoadResult::Loaded;
}

bool HasControl(const QString& text) {
  return std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x20; });
}

bool IsValidSection(const QString& section) {
  return !section.trimmed().isEmpty() && !HasControl(section) && !section.contains(']');
}

bool IsValidKey(const QString& key) {
  const QString trimmed = key.trimmed();
  return !trimmed.isEmpty() && !HasControl(key) && !key.contains('=') && !trimmed.startsWith('[') &&
         !trimmed.startsWith(';') && !trimmed.startsWith('#');
}

bool IsQuotedPair(const QString& value) {
  return value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
         value.back() == value.front();
}

// The text stored for a value: what the reader turns back into the same value.
QByteArray StoredValue(const QString& value) {
  QString text = value;
  text.replace(QLatin1String("\r\n"), QLatin1String(" "));
  text.remove(QChar(0));
  std::replace_if(text.begin(), text.end(), IsStrayControl, QChar(' '));
  text.replace('\r', ' ').replace('\n', ' ');
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
  // Writing over a file that is not understood in full would throw away what was not.
  if (Load(path, ini, &comments, &hasEntries) == LoadResult::NotUsed) return false;
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
  // Never write what the next read would refuse: the settings would be lost from then on.
  QString reason;
  if (!UnderstoodText(text, reason)) return false;
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

bool CheckProfileFile(const QString& file) {
  CSimpleIniA ini;
  return Load(ProfileFilePath(file), ini) != LoadResult::NotUsed;
}

QList<ProfileNotice> TakeProfileNotices() {
  Notices& notices = TheNotices();
  std::lock_guard lock(notices.mutex);
  return std::exchange(notices.pending, {});
}
