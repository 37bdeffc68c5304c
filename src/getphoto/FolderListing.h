#pragma once

#include <QString>
#include <QStringList>

// What the file browser shows of one folder: its subfolders, then the files matching the
// chosen patterns, each group ordered by lower-case name from Z to A.
struct FolderListing {
  QStringList Folders;
  QStringList Files;
  bool Listed = false;  // false when the folder could not be read: both lists are empty
};

// Lists folder (no trailing "/" needed) for the patterns (compared without regard to
// case; a file matching several is listed once). Hidden entries (names starting with ".")
// are left out, as a file manager does.
FolderListing ListFolder(const QString& folder, const QStringList& patterns);

// The browser's order: names made lower case, from Z to A.
void SortZToA(QStringList& names);
