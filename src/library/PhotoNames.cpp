#include "library/PhotoNames.h"

#include "library/PhotoStoreTexts.h"

QString StemForName(const QString& name) {
  QString stem = name;
  return stem.replace(QLatin1Char('&'), QLatin1String("&&"));
}

QString NameForStem(const QString& stem) {
  QString name = stem;
  return name.replace(QLatin1String("&&"), QLatin1String("&"));
}

int CharacterCount(const QString& text) {
  int count = 0;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) ++i;
    ++count;
  }
  return count;
}

QString LeftCharacters(const QString& text, int count) {
  qsizetype i = 0;
  for (int taken = 0; i < text.size() && taken < count; ++taken) {
    if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) ++i;
    ++i;
  }
  return text.left(i);
}

QString TrimPhotoName(const QString& typed) { return typed.trimmed(); }

bool HasVisibleCharacter(const QString& text) {
  for (qsizetype i = 0; i < text.size(); ++i) {
    char32_t code = text[i].unicode();
    if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
      code = QChar::surrogateToUcs4(text[i], text[i + 1]);
      ++i;
    }
    switch (QChar::category(code)) {
      case QChar::Separator_Space:
      case QChar::Separator_Line:
      case QChar::Separator_Paragraph:
      case QChar::Other_Control:
      case QChar::Other_Format:
      case QChar::Mark_NonSpacing:
      case QChar::Mark_Enclosing:
        continue;
      default:
        break;
    }
    // Letters by category, blank on screen.
    if (code == 0x115F || code == 0x1160 || code == 0x3164 || code == 0xFFA0 || code == 0x2800)
      continue;
    return true;
  }
  return false;
}

QString UnsafeNameReason(const QString& name) {
  if (name == QLatin1String(".") || name == QLatin1String(".."))
    return QString::fromLatin1(PhotoStoreTexts::kNameIsDots);
  if (name.contains(QLatin1Char('/'))) return QString::fromLatin1(PhotoStoreTexts::kNameHasSlash);
  // A broken surrogate would be written to disk under a different name than the one listed.
  if (!name.isValidUtf16()) return QString::fromLatin1(PhotoStoreTexts::kNameHasControl);
  for (QChar c : name) {
    if (c.unicode() == 0 || c.category() == QChar::Other_Control)
      return QString::fromLatin1(PhotoStoreTexts::kNameHasControl);
  }
  return {};
}

bool IsNameTaken(const QString& name, const QStringList& storedNames) {
  for (const QString& stored : storedNames) {
    if (stored.startsWith(name, Qt::CaseInsensitive)) return true;
  }
  return false;
}

NameCheck CheckPhotoName(const QString& typed, const QStringList& storedNames) {
  NameCheck check;
  check.Name = TrimPhotoName(typed);
  // A name of invisible characters would list as a blank line nobody can tell apart.
  if (!HasVisibleCharacter(check.Name)) {
    check.Verdict = NameVerdict::Empty;
    check.Message = QString::fromLatin1(PhotoStoreTexts::kTypeAName);
  } else if (QString reason = UnsafeNameReason(check.Name); !reason.isEmpty()) {
    check.Verdict = NameVerdict::Unsafe;
    check.Message = reason;
  } else if (CharacterCount(check.Name) > kMaxNameLength) {
    check.Verdict = NameVerdict::TooLong;
    check.Message = QString::fromLatin1(PhotoStoreTexts::kNameTooLong);
  } else if (IsNameTaken(check.Name, storedNames)) {
    check.Verdict = NameVerdict::Taken;
    check.Message = QString::fromLatin1(PhotoStoreTexts::kNameTaken).arg(check.Name);
  } else {
    check.Verdict = NameVerdict::Accepted;
  }
  return check;
}
