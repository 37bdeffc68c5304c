#pragma once

#include <QByteArray>
#include <QString>

// The file steps of the photo store, on the folder's own file names.

QByteArray NativePath(const QString& path);

// True when the file is gone afterwards, also when it never was there.
bool RemoveStoreFile(const QString& path);
// Renames over whatever is at `to`.
bool MoveStoreFile(const QString& from, const QString& to);

enum class MoveOutcome { Moved, Exists, Failed };
// Renames only when nothing is at `to`, in one step where the file system can
// (renameat2 with RENAME_NOREPLACE, else a hard link); on a file system with neither the
// check and the rename are two steps, which the store's lock keeps apart from its own writers.
MoveOutcome MoveStoreFileWithoutReplacing(const QString& from, const QString& to);

bool SyncStoreFile(const QString& path);
void SyncStoreFolder(const QString& folder);
// Gives the replacement the permissions of the file it replaces: a private photo stays private.
void KeepStoreFileMode(const QString& existing, const QString& replacement);

// Hidden temporaries of the store, not ending in ".jpg", so no listing ever takes a
// half-written file for a photo. The picture writer saves beside its target under
// "." + the target's name, so its own temporaries of ours start with "..brivane-".
QString NewStoreTemporary(const QString& folder);
bool IsStoreTemporary(const QString& fileName);
// The lock files: one serialises choosing names and placing files, the other is held
// shared by everyone with temporaries in the folder, so a sweep knows when none are live.
QString StoreLockPath(const QString& folder);
QString StoreWritingLockPath(const QString& folder);
