#pragma once

#include <QString>

// An exclusive advisory lock on a folder, held while the object lives. Read-modify-write
// of the files in it (settings, registry) is serialised with it, so two running copies of
// the program do not lose each other's changes. A folder that cannot be opened is simply
// not locked: the write goes on as it would have without the lock.
class FolderLock {
 public:
  explicit FolderLock(const QString& folder);
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

  bool isLocked() const { return m_fd >= 0; }

 private:
  int m_fd = -1;
};
