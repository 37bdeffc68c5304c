#pragma once

// Temporary files and folders that must not outlive a process stopped by a signal.
//
// While a RemoveOnSignal object lives, its path is removed if the process is ended by
// SIGINT, SIGTERM, SIGHUP or SIGQUIT: a file is unlinked; a folder loses the files
// directly inside it and is then removed itself (sub-folders are not entered, so a
// folder that holds any stays). The signal then takes its default course, so the
// process still ends with that signal and its parent sees it so.
//
// Nothing is removed at a normal exit or when the object goes away: the owner removes
// its files as usual and the object only covers the time in between. The usual pattern:
//
//     RemoveOnSignal guard(temporaryPath, RemoveOnSignal::Kind::File);
//     ... write the temporary file, rename it into place ...
//     // guard's end: the path is no longer covered
//
// The handler is installed the first time a path is registered, once for the whole
// process, and only for those signals whose disposition is still the default: a program
// that handles or ignores a signal itself keeps doing so (and cleans up itself).
// A child made with fork() inherits the handler but never removes its parent's paths.
//
// The handler is async-signal-safe: it reads a fixed table of kSlots paths through
// atomics and calls only unlink, open, getdents64, unlinkat, close, sigaction and raise.
// Registering and unregistering are safe from any thread. A path longer than
// kMaxPathBytes, or one more than the table holds, is not covered (isRegistered false).

#include <QString>

class RemoveOnSignal {
 public:
  enum class Kind { File, Folder };

  static constexpr int kSlots = 64;
  static constexpr int kMaxPathBytes = 1024;

  RemoveOnSignal(const QString& path, Kind kind);
  ~RemoveOnSignal();
  RemoveOnSignal(RemoveOnSignal&& other) noexcept;
  RemoveOnSignal& operator=(RemoveOnSignal&& other) noexcept;
  RemoveOnSignal(const RemoveOnSignal&) = delete;
  RemoveOnSignal& operator=(const RemoveOnSignal&) = delete;

  bool isRegistered() const { return m_slot >= 0; }
  // True from the moment a signal is being handled. Other threads run on until the process
  // ends, so an owner registers a path before creating the file and checks this right after:
  // a file made once the handler has passed is the owner's to remove.
  static bool stopping();
  // Stops covering the path now (the object's end does the same).
  void release();

  // Held while a thread makes a covered file (registers, creates or renames it into
  // place, then checks stopping() and removes it if so): the handler waits for every
  // Creation to end before it removes the covered paths, so that no file made
  // meanwhile outlives the process.
  class Creation {
   public:
    Creation();
    ~Creation();
    Creation(const Creation&) = delete;
    Creation& operator=(const Creation&) = delete;
  };

 private:
  int m_slot = -1;
};
