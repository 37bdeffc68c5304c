#pragma once

#include <functional>

#include <QByteArray>
#include <QString>

// Replaces the file at path with content so that any reader, even after a crash, finds
// either the old file or the new one in full: the content is written beside the file,
// flushed to disk and renamed over it. A file created here is readable by its owner only
// (0600); a file that already exists keeps its permissions. A symbolic link is followed,
// so the link itself stays. Missing folders are created (0700). Returns false on failure,
// leaving the old file as it was.
bool WriteFileAtomically(const QString& path, const QByteArray& content);

// Makes the folder exist; a folder created here is private to its owner (0700).
bool MakePrivateFolder(const QString& folder);

// Test seam: called once the new content is on disk and before the rename; returning false
// abandons the write there, as a crash at that moment would.
using AtomicWriteHook = std::function<bool(const QString& path)>;
// Installs the hook (an empty one removes it) and returns the previous one.
AtomicWriteHook SetAtomicWriteHook(AtomicWriteHook hook);
