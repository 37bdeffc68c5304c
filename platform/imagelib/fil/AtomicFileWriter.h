#pragma once

// Writing a file beside its target and renaming it into place, so that the old file
// survives any failure and no half-written file ever carries the target's name.

#include <QString>
#include <cstddef>
#include <optional>

#include "system/RemoveOnSignal.h"

class AtomicFileWriter {
 public:
  explicit AtomicFileWriter(const QString& target);
  // Removes the temporary file unless Commit succeeded.
  ~AtomicFileWriter();
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

  // Creates the temporary file in the target's folder. ERROR_FILE_WRITE when the folder
  // is missing or not writable, or the target is a folder.
  int Open();
  // The temporary file, for encoders that write by name.
  const QString& TemporaryPath() const { return temporary_; }
  int Write(const void* data, std::size_t size);
  // Flushes the temporary file to disk and renames it over the target.
  int Commit();

 private:
  QString target_;
  QString temporary_;
  // An interrupt or terminate signal mid-write takes the half-written file with it.
  std::optional<RemoveOnSignal> guard_;
  int fd_ = -1;
  int mode_ = -1;  // permissions of the file being replaced
  bool committed_ = false;
};
