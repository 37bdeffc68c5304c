#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

// A plain file of a folder, here or on the upload server.
struct FileEntry {
  QString name;          // with extension, without folder
  QDateTime lastWrite;   // UTC; invalid when a listing gave no time that could be read
  qint64 size = 0;
};

// The first entry named exactly name (case-sensitive), or null.
const FileEntry* FindEntry(const QList<FileEntry>& entries, const QString& name);

// Whether a name from a server may become a file name in one of our folders: not empty,
// not "." or "..", no "/" or "\", no NUL or other control characters, at most 255 bytes.
bool IsSafeFileName(const QString& name);
