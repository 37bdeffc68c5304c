#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include "inet/FileEntry.h"

// Folder listings, here and on the upload server. Each list is in the reverse of the
// order the listing gave (each new entry goes to the head).

// The plain files of a local folder (sub-folders and hidden files skipped).
QList<FileEntry> ListFolder(const QString& folder);

// An MLSD answer: "fact=value;…; name" lines; files only. Names that may not become a
// file name here go to refused instead.
QList<FileEntry> ParseMlsdListing(const QByteArray& listing, QStringList* refused = nullptr);

// A LIST answer in the Unix "ls -l" form or the DOS form; files only. A Unix time
// without a year is taken in the year that puts it at most a day ahead of now.
QList<FileEntry> ParseListListing(const QByteArray& listing, const QDateTime& now, QStringList* refused = nullptr);
