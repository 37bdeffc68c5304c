#pragma once

#include <optional>

#include <QList>
#include <QString>

#include "system/ProfileNotice.h"

// Profile (INI) files with the semantics of the Windows private-profile routines:
// sections and keys are found without regard to case, a missing file, section or key
// yields the default, and a write changes one key while every other section, key and
// comment of the file stays. Writes are atomic (see WriteFileAtomically): a new file is
// readable by its owner only.
//
// Text is UTF-8; a file that starts with a byte-order mark may also be UTF-8 or UTF-16
// (either byte order), and is written back as UTF-8 with every key kept. Line breaks are
// LF, CR LF or CR.
//
// A file is used only when the reader understands all of it. One that exists but is not
// a regular file (a FIFO, device or folder), cannot be opened or read, is larger than
// 1 MB, is not text in one of those encodings, holds a NUL or a control character other
// than the tab and line breaks, has a line that is neither blank, a comment (";" or "#"
// first), a section header ("[name]", nothing after the "]") nor an entry ("key=value",
// the key not empty), or has a key twice in one section, is not used: every read yields
// the default and every write fails, so the file stays byte for byte as it is. Such a
// file is never opened in a way that could block.
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
// blanks (they would start a new key), as do the other control characters but the tab (the
// reader would refuse the file), and NULs are dropped; a value with blanks or quotes at its
// ends is quoted so that it reads back exactly. Section names holding "]" and key
// names holding "=", and either holding a control character, are refused. A file that is
// not used (see above) is not overwritten. Returns whether the file now holds the value.
bool WriteProfileString(const QString& file, const QString& section, const QString& key,
                        const QString& value);
// Removes the key, or the whole section; true when it is gone afterwards.
bool DeleteProfileKey(const QString& file, const QString& section, const QString& key);
bool DeleteProfileSection(const QString& file, const QString& section);

// Reads the file as the routines above do: true when it is missing or used, false when it
// exists but is not used.
bool CheckProfileFile(const QString& file);

// The routines above note each file that is not used, once per process, the first time
// they meet it. Returns the notes made since the last call, oldest first.
QList<ProfileNotice> TakeProfileNotices();
