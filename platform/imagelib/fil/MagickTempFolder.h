#pragma once

// The private folder for Magick's temporary files (the pixel caches of pictures too
// large for memory, and files for coders that need one), so that none of them outlives
// the process in $TMPDIR: made when Magick starts, emptied and removed when the process
// exits, and also when SIGINT, SIGTERM, SIGHUP or SIGQUIT ends it.

#include <sys/types.h>

#include <QString>
#include <optional>

#include "system/RemoveOnSignal.h"

class MagickTempFolder {
 public:
  // Makes "brivane-magick-XXXXXX" under $TMPDIR (else /tmp); path() is empty on failure.
  MagickTempFolder();
  // Removes the files in the folder and the folder, in the process that made it only
  // (a child made with fork() shares the path but not the folder's life).
  ~MagickTempFolder();
  MagickTempFolder(const MagickTempFolder&) = delete;
  MagickTempFolder& operator=(const MagickTempFolder&) = delete;

  const QString& path() const { return path_; }

 private:
  QString path_;
  pid_t owner_ = 0;
  std::optional<RemoveOnSignal> guard_;
};
