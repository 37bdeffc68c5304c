#pragma once

#include <optional>

#include <QString>

// Profile (INI) files with the semantics of the Windows private-profile routines:
// sections and keys are found without regard to case, a missing file, section or key
// yields the default, and a write changes one key while every other section, key and
// comment of the file stays. Text is UTF-8. Writes are atomic (see WriteFileAtomically):
// a new file is readable by its owner only.
//
// file is a path, or a bare file name, which then lies in the Windows folder
// (GetWindowsFolder), as the private-profile routines place it.

QString ProfileFilePath(const QString& file);

// The value of the key, or nullopt when the file, section or key does not exist.
// Blanks around the value are dropped and one pair of matching quotes around it removed.
std::optional<QString> QueryProfileString(const QString& file, const QString& section,
                                          const QString& key);
QString ReadProfileString(const QString& file, const QString& section, const QString& key,
                          const QString& defaultValue = {});
// The leading decimal number of the value (an optional sign, then digits), 0 when the
// value does not start with one, the default when the key is missing or empty.
int ReadProfileInt(const QString& file, const QString& section, const QString& key,
                   int defaultValue);

// Sets the key, creating the file and section as needed. Line breaks in the value become
// blanks (they would start a new key); a value with blanks or quotes at its ends is quoted
// so that it reads back exactly. Section names holding "]" or line breaks and key names
// holding "=" or line breaks are refused. A file that exists but cannot be read is not
// overwritten. Returns whether the file now holds the value.
bool WriteProfileString(const QString& file, const QString& section, const QString& key,
                        const QString& value);
// Removes the key, or the whole section; true when it is gone afterwards.
bool DeleteProfileKey(const QString& file, const QString& section, const QString& key);
bool DeleteProfileSection(const QString& file, const QString& section);
