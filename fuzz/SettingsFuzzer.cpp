// The settings readers and writers: profile (INI) files through Profile.h and the registry
// stand-in through RegistryStore, on a file of any content, held to what their headers
// promise. Only their public functions are used, so the target keeps working whatever
// the reading inside becomes.

#include <optional>
#include <string>

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>
#include <QString>

#include "FuzzSupport.h"
#include "system/Profile.h"
#include "system/RegistryStore.h"

namespace {
// Every query reads the whole file again: a few names keep an input quick.
constexpr qsizetype kMaxNames = 4;

struct Name {
  QString Section;
  QString Key;
};

using Values = QList<std::optional<QString>>;

// The names a file seems to hold, by a reading much simpler than the real one on purpose:
// a name it gets wrong is asked for all the same and must get a sound answer.
QList<Name> NamesIn(const QByteArray& text) {
  QList<Name> names;
  QString section;
  for (const QByteArray& raw : text.split('\n')) {
    if (names.size() >= kMaxNames) break;
    const QString line = QString::fromUtf8(raw).trimmed();
    if (line.startsWith('[')) {
      section = line.mid(1, line.indexOf(']') - 1);
    } else if (const qsizetype equals = line.indexOf('='); equals > 0 && !section.isEmpty()) {
      names.append({section, line.left(equals)});
    }
  }
  names.append({QStringLiteral("Settings"), QStringLiteral("UserId")});
  names.append({QStringLiteral("Control Panel\\Desktop"), QStringLiteral("SCRNSAVE.EXE")});
  return names;
}

bool IsAscii(const QString& text) {
  for (const QChar c : text)
    if (c.unicode() > 0x7F) return false;
  return true;
}

bool SameName(const QString& a, const QString& b) {
  return a.trimmed().compare(b.trimmed(), Qt::CaseInsensitive) == 0;
}

// What reading gives back for a written value: line breaks and other control characters as
// blanks, NULs gone.
QString AsStored(QString value) {
  value.replace(QLatin1String("\r\n"), QLatin1String(" "));
  value.remove(QChar(0));
  // Every other control character but the tab becomes a blank, line breaks included.
  for (QChar& c : value)
    if (c.unicode() < 0x20 && c != '\t') c = ' ';
  return value;
}

// The text as the reader decodes it: UTF-8, or UTF-16 after its byte-order mark.
QString Decoded(const QByteArray& text) {
  if (text.startsWith("\xEF\xBB\xBF")) return QString::fromUtf8(text.mid(3));
  if (text.startsWith("\xFF\xFE")) return QStringDecoder(QStringDecoder::Utf16LE).decode(text.mid(2));
  if (text.startsWith("\xFE\xFF")) return QStringDecoder(QStringDecoder::Utf16BE).decode(text.mid(2));
  return QString::fromUtf8(text);
}

// Lines end at a line feed or a carriage return, as the reader takes them.
QStringList CommentLines(const QByteArray& text) {
  QStringList comments;
  for (const QString& raw : Decoded(text).split(QRegularExpression("[\r\n]"))) {
    const QString line = raw.trimmed();
    if (line.startsWith(';') || line.startsWith('#')) comments.append(line);
  }
  return comments;
}

// The value of each name. Thoroughly: also checked against the other readers.
Values Read(const QString& file, const QList<Name>& names, bool thoroughly = false) {
  Values values;
  for (const Name& name : names) {
    const std::optional<QString> value = QueryProfileString(file, name.Section, name.Key);
    values.append(value);
    if (!thoroughly) continue;
    const QString marker = QStringLiteral("\x01 missing");
    FUZZ_EXPECT(ReadProfileString(file, name.Section, name.Key, marker) == value.value_or(marker),
                "ReadProfileString gives the value or the default");
    if (!value || value->trimmed().isEmpty())
      FUZZ_EXPECT(ReadProfileInt(file, name.Section, name.Key, 12345) == 12345,
                  "a missing or empty number gives the default");
    if (IsAscii(name.Section) && IsAscii(name.Key))
      FUZZ_EXPECT(QueryProfileString(file, name.Section.toUpper(), name.Key.toLower()) == value,
                  "sections and keys are found without regard to case");
  }
  return values;
}

// After a change to the names that `changed` picks, every other name reads as before.
template <typename Changed>
void ExpectOthersKept(const QList<Name>& names, const Values& before, const Values& after,
                      Changed changed) {
  for (qsizetype i = 0; i < names.size(); ++i)
    if (!changed(names[i])) FUZZ_EXPECT(before[i] == after[i], "a change keeps the other keys");
}

// A section in two parts is merged by a write, and the comments just above its second
// header go with it: the keys are what is kept there.
bool HasSectionInParts(const QByteArray& text) {
  QSet<QString> sections;
  for (const QString& raw : Decoded(text).split(QRegularExpression("[\r\n]"))) {
    const QString line = raw.trimmed();
    if (!line.startsWith('[')) continue;
    const QString section = line.mid(1, line.indexOf(']') - 1).trimmed().toCaseFolded();
    if (sections.contains(section)) return true;
    sections.insert(section);
  }
  return false;
}

void ExpectCommentsKept(const QByteArray& before, const QByteArray& after) {
  if (HasSectionInParts(before)) return;
  const QStringList kept = CommentLines(after);
  for (const QString& comment : CommentLines(before))
    FUZZ_EXPECT(kept.contains(comment), "a change keeps the file's comments");
}

void ChangeProfile(const std::string& path, const QList<Name>& names, const QString& value) {
  const QString file = QFile::decodeName(path.c_str());
  const Name target = names[value.size() % names.size()];
  const auto isTarget = [&](const Name& n) {
    return SameName(n.Section, target.Section) && SameName(n.Key, target.Key);
  };
  const auto inSection = [&](const Name& n) { return SameName(n.Section, target.Section); };

  Values before = Read(file, names, true);
  QByteArray text = QByteArray::fromStdString(ReadWholeFile(path));
  if (WriteProfileString(file, target.Section, target.Key, value)) {
    FUZZ_EXPECT(QueryProfileString(file, target.Section, target.Key) == AsStored(value),
                "a written value reads back");
    const Values after = Read(file, names);
    ExpectOthersKept(names, before, after, isTarget);
    const QByteArray written = QByteArray::fromStdString(ReadWholeFile(path));
    ExpectCommentsKept(text, written);
    before = after;
    text = written;
  } else {
    FUZZ_EXPECT(ReadWholeFile(path) == text.toStdString(), "a refused write leaves the file");
  }

  if (DeleteProfileKey(file, target.Section, target.Key)) {
    FUZZ_EXPECT(!QueryProfileString(file, target.Section, target.Key), "a deleted key is gone");
    const Values after = Read(file, names);
    ExpectOthersKept(names, before, after, isTarget);
    before = after;
  }

  if (DeleteProfileSection(file, target.Section)) {
    const Values after = Read(file, names);
    for (qsizetype i = 0; i < names.size(); ++i)
      if (inSection(names[i])) FUZZ_EXPECT(!after[i], "a deleted section's keys are gone");
    ExpectOthersKept(names, before, after, inSection);
  }
}

void ChangeRegistry(const std::string& path, const QList<Name>& names, const QString& value) {
  RegistryStore registry(QFile::decodeName(path.c_str()));
  const Name& name = names.front();
  FUZZ_EXPECT(registry.queryValue("\\" + name.Section + "\\", name.Key) ==
                  registry.queryValue(name.Section, name.Key),
              "a key path reads the same with backslashes around it");
  // A key's default value: the value with the empty name.
  const QString& key = name.Section;
  if (registry.setValue(key, QString(), value)) {
    FUZZ_EXPECT(registry.queryValue(key, QString()) == AsStored(value),
                "a key's default value reads back");
    if (registry.deleteValue(key, QString()))
      FUZZ_EXPECT(!registry.queryValue(key, QString()), "a deleted value is gone");
  }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray text(reinterpret_cast<const char*>(data), qsizetype(size));
  const QList<Name> names = NamesIn(text);
  // The value written: the input's last line, whatever it holds.
  const QString value = QString::fromUtf8(text.mid(text.lastIndexOf('\n') + 1).left(64));
  ChangeProfile(WriteScratchFile("settings.ini", data, size), names, value);
  ChangeRegistry(WriteScratchFile("registry.ini", data, size), names, value);
  return 0;
}
