#pragma once

#include <QString>
#include <QStringList>

#include "library/NameCheck.h"

// Naming rules of the photo store. A photo's name is what the user typed; its files are
// named by its stem, the name with every "&" doubled, because lists draw their text with
// ampersand processing and "&&" shows as one "&".

inline constexpr int kMaxNameLength = 60;
inline constexpr int kMaxDescriptionLength = 255;

QString StemForName(const QString& name);
// The name a stem shows as: every "&&" becomes "&".
QString NameForStem(const QString& stem);

// Length limits count characters (code points), not UTF-16 units or bytes.
int CharacterCount(const QString& text);
// The first `count` characters of the text, never splitting a surrogate pair.
QString LeftCharacters(const QString& text, int count);

// Removes the blanks at both ends, as the naming pages do before any check.
QString TrimPhotoName(const QString& typed);
// Whether the text shows anything: false for text of blanks and invisible characters
// only (zero-width spaces and joiners, other format characters, lone combining marks,
// fillers).
bool HasVisibleCharacter(const QString& text);
// Why a (trimmed) name cannot name a file inside the My Photos folder, or "" when it can:
// "/", NUL and other control characters, broken UTF-16, "." and "..".
QString UnsafeNameReason(const QString& name);
// A name is taken when some stored name begins with it, compared without regard to case.
// So "Tom" is taken while "Tommy" is stored, and "" is taken whenever the store holds a photo.
bool IsNameTaken(const QString& name, const QStringList& storedNames);
// The whole check of a typed name against the stored names, in the order the user meets
// the messages: empty (or invisible), unsafe, too long, taken.
NameCheck CheckPhotoName(const QString& typed, const QStringList& storedNames);
