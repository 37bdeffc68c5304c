#pragma once

#include <chrono>

#include <QString>

// Tells whether the files of one folder (not its subfolders) may have changed: names,
// attributes, sizes, last-write times. Uses inotify; where inotify is missing or fails,
// or the watched folder goes away, it reports a change every poll interval instead, and
// tries inotify again at each of those. Never blocks; used by one thread at a time.
class FolderWatch {
 public:
  enum class Mode { Notify, Poll };

  explicit FolderWatch(QString folder, Mode mode = Mode::Notify,
                       std::chrono::milliseconds pollInterval = std::chrono::seconds(2));
  ~FolderWatch();
  FolderWatch(const FolderWatch&) = delete;
  FolderWatch& operator=(const FolderWatch&) = delete;

  // Whether inotify is watching the folder now (false while polling).
  bool notifying() const { return m_watch >= 0; }
  // Whether the folder may have changed since the last call that returned true. Drains
  // the pending notifications; in poll mode true once every poll interval.
  bool takeChange();

 private:
  bool startNotify();
  void stopNotify();
  // Reads every pending event; true when one of them may change the folder's photos.
  bool drainEvents();

  const QString m_folder;
  const Mode m_mode;
  const std::chrono::milliseconds m_pollInterval;
  int m_fd = -1;
  int m_watch = -1;
  std::chrono::steady_clock::time_point m_lastPoll;
};
