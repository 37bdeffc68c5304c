#pragma once

#include <QString>

// What a publishing or retrieving run tells whoever watches it: the dialogs' lines and
// bars, or the command line's progress line. Called on the run's thread.
class SyncProgress {
 public:
  virtual ~SyncProgress() = default;
  // The line that says what the run is doing now.
  virtual void action(const QString& text) = 0;
  // What is to be moved: files and bytes.
  virtual void totals(int files, qint64 bytes) = 0;
  // Files moved so far.
  virtual void filesDone(int files) = 0;
  // Bytes of the whole run moved so far, and of the file on its way (of fileSize).
  virtual void bytesDone(qint64 total, qint64 fileBytes, qint64 fileSize) = 0;
  // The file on its way has arrived or failed: its progress is cleared.
  virtual void fileEnded() = 0;
  // Something the user is told (title and text), the run going on or not as it says.
  virtual void problem(const QString& title, const QString& text) = 0;
};
