#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <thread>

#include <QHash>
#include <QSet>
#include <QString>

#include "library/PhotoListChange.h"
#include "library/ThumbnailDecoder.h"
#include "system/FolderWatch.h"
#include "system/SemaphoreRegistry.h"

class PhotoListModel;
class PhotoListUpdater;

// Keeps a photo list in line with the My Photos folder, from a thread of its own: a
// first scan fills the list, and after every change of the folder a scan adds new
// photos newest first, reloads changed thumbnails in place and removes vanished photos.
// Only thumbnails are decoded, and only when their file changed.
//
// The thread never touches the model: it hands complete, immutable items to a
// PhotoListUpdater on the thread that constructed the watcher (the interface thread),
// through queued calls that never wait. It keeps its own record of what it handed over,
// so the updater must be the only writer of the model while the watcher runs; the
// watcher starts by clearing the model.
//
// Stopping: the semaphore "ThumbStop" (opened from the registry, created when missing),
// polled every 50 ms and between all steps of a scan. stop() releases it once and joins;
// it returns within one step, because the thread never waits on the interface thread.
class ThumbnailWatcher {
 public:
  static constexpr char kStopSemaphoreName[] = "ThumbStop";
  static constexpr int kStopPollMs = 50;

  struct ScanStats {
    int Thumbnails = 0;  // thumbnails with their photo in the folder
    int Decoded = 0;     // decode attempts
    int Added = 0;
    int Replaced = 0;
    int Removed = 0;
    std::chrono::nanoseconds Duration{0};
  };

  struct Options {
    FolderWatch::Mode WatchMode = FolderWatch::Mode::Notify;
    // How often the folder is listed where inotify is missing or fails.
    std::chrono::milliseconds PollInterval = std::chrono::seconds(2);
    ThumbnailDecoder Decoder = DecodeThumbnail;
    // Called on the watcher's thread after every completed scan.
    std::function<void(const ScanStats&)> ScanFinished;
  };

  // Construct on the interface thread. folder: the My Photos folder, ending in "/".
  ThumbnailWatcher(QString folder, SemaphoreRegistry& semaphores, PhotoListModel* model,
                   Options options);
  ThumbnailWatcher(QString folder, SemaphoreRegistry& semaphores, PhotoListModel* model);
  // Stops the thread (stop()) before anything it uses goes away.
  ~ThumbnailWatcher();
  ThumbnailWatcher(const ThumbnailWatcher&) = delete;
  ThumbnailWatcher& operator=(const ThumbnailWatcher&) = delete;

  // The object that applies the changes; connect to its signals and give it the view's
  // selection model before start().
  PhotoListUpdater& updater() { return *m_updater; }

  // Starts the thread; later calls, and calls after stop(), do nothing.
  void start();
  // Releases "ThumbStop" once and waits for the thread to end. Safe to call again.
  void stop();
  bool running() const { return m_thread.joinable() && !m_ended; }

 private:
  struct FileStamp {
    qint64 Seconds = 0;
    qint64 Nanoseconds = 0;
    qint64 Size = 0;
    quint64 Inode = 0;
    bool operator==(const FileStamp&) const = default;
  };
  struct Thumbnail {
    QString Stem;
    FileStamp Stamp;
  };

  void run();
  // One pass over the folder; false when the stop signal ended it.
  bool scan(bool firstScan);
  // Thumbnails whose photo is present, and the stems of all photos. False when stopped.
  bool listFolder(QList<Thumbnail>& thumbnails, QSet<QString>& photoStems, ScanStats& stats);
  bool stopRequested(int waitMs = 0);
  void post(PhotoListChange change);
  void flush();

  const QString m_folder;
  const Options m_options;
  SemaphoreRegistry::Handle m_stop;
  std::unique_ptr<PhotoListUpdater> m_updater;
  std::thread m_thread;
  std::atomic<bool> m_stopping{false};
  std::atomic<bool> m_ended{false};
  bool m_released = false;

  // Owned by the watcher's thread once it runs.
  QHash<QString, FileStamp> m_handedOver;   // what the model holds: stem -> thumbnail file
  QHash<QString, FileStamp> m_undecodable;  // thumbnails that failed, retried once changed
  PhotoListChanges m_pending;
  std::chrono::steady_clock::time_point m_lastFlush;
  std::chrono::steady_clock::time_point m_lastStopPoll;
};
