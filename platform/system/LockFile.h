#pragma once

#include <QString>

// An advisory lock (flock) on a file, created when missing, held while the object lives.
// Exclusive locks serialise steps between processes and between threads alike: each
// object opens the file anew, and flock treats every open file on its own.
class LockFile {
 public:
  enum class Mode { Exclusive, Shared };
  enum class Wait { Block, DontBlock };

  LockFile(const QString& path, Mode mode, Wait wait = Wait::Block);
  ~LockFile();
  LockFile(LockFile&& other) noexcept;
  LockFile& operator=(LockFile&& other) noexcept;
  LockFile(const LockFile&) = delete;
  LockFile& operator=(const LockFile&) = delete;

  // False when the file could not be opened (a read-only folder) or, with DontBlock,
  // when another holder has it.
  bool isLocked() const { return m_fd >= 0; }

 private:
  int m_fd = -1;
};
