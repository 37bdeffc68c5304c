#include "library/ThumbnailWatcher.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include <QFile>
#include <QMetaObject>

#include "krn/ResultCodes.h"
#include "library/PhotoListUpdater.h"

namespace {
constexpr QLatin1String kPhotoSuffix(".jpg");
constexpr QLatin1String kThumbnailSuffix("_tn.jpg");
// Changes are handed over in batches: the first at once, so the top of the list shows
// early, then at most one queued call this often.
constexpr auto kFlushInterval = std::chrono::milliseconds(25);
constexpr auto kStopCheckInterval = std::chrono::milliseconds(5);
}  // namespace

ThumbnailWatcher::ThumbnailWatcher(QString folder, SemaphoreRegistry& semaphores,
                                   PhotoListModel* model, Options options)
    : m_folder(std::move(folder)), m_options(std::move(options)),
      m_updater(std::make_unique<PhotoListUpdater>(model)) {
  m_stop = semaphores.open(QLatin1String(kStopSemaphoreName));
  // Without its semaphore the thread could never be stopped, and stop() would wait for
  // ever: make it here so that stopping always works.
  if (!m_stop) m_stop = semaphores.create(QLatin1String(kStopSemaphoreName), 0, 1);
}

ThumbnailWatcher::ThumbnailWatcher(QString folder, SemaphoreRegistry& semaphores,
                                   PhotoListModel* model)
    : ThumbnailWatcher(std::move(folder), semaphores, model, Options()) {}

ThumbnailWatcher::~ThumbnailWatcher() { stop(); }

void ThumbnailWatcher::start() {
  if (m_thread.joinable() || m_stopping) return;
  m_thread = std::thread([this] { run(); });
}

void ThumbnailWatcher::stop() {
  m_stopping = true;
  if (!m_thread.joinable()) return;
  if (!m_released) {
    m_released = true;
    if (m_stop) m_stop->release();
  }
  if (m_thread.joinable() && m_thread.get_id() != std::this_thread::get_id()) {
    m_thread.join();
    // A thread that ended on the flag leaves the release unconsumed; take it back so that
    // a later watcher on the same semaphore does not stop at once.
    if (m_stop) m_stop->wait(0);
  }
}

bool ThumbnailWatcher::stopRequested(int waitMs) {
  if (m_stopping) return true;
  // Between steps the semaphore is looked at every few milliseconds only: even a zero
  // wait on it costs a sleeping system call. stop() sets the flag, seen at once.
  const auto now = std::chrono::steady_clock::now();
  if (waitMs == 0 && now - m_lastStopPoll < kStopCheckInterval) return false;
  if (m_stop && m_stop->wait(waitMs)) m_stopping = true;
  m_lastStopPoll = std::chrono::steady_clock::now();
  return m_stopping;
}

void ThumbnailWatcher::run() {
  // The watch begins before the first scan, so nothing that changes during it is missed.
  FolderWatch watch(m_folder, m_options.WatchMode, m_options.PollInterval);
  m_pending.append(PhotoListChange{PhotoListChange::Kind::Clear, {}, {}});
  m_lastFlush = std::chrono::steady_clock::time_point();
  bool firstScan = true;
  while (!stopRequested(firstScan ? 0 : kStopPollMs)) {
    const bool changed = watch.takeChange();
    if (!changed && !firstScan) continue;
    if (!scan(firstScan)) break;
    firstScan = false;
  }
  m_ended = true;
}

void ThumbnailWatcher::post(PhotoListChange change) {
  m_pending.append(std::move(change));
  if (std::chrono::steady_clock::now() - m_lastFlush >= kFlushInterval) flush();
}

void ThumbnailWatcher::flush() {
  if (m_pending.isEmpty()) return;
  PhotoListUpdater* updater = m_updater.get();
  // Queued: the call is dropped if the updater is gone by the time it would run.
  QMetaObject::invokeMethod(
      updater, [updater, changes = std::move(m_pending)] { updater->apply(changes); },
      Qt::QueuedConnection);
  m_pending = {};
  m_lastFlush = std::chrono::steady_clock::now();
}

bool ThumbnailWatcher::listFolder(QList<Thumbnail>& thumbnails, QSet<QString>& photoStems,
                                  ScanStats& stats) {
  const int folderFd =
      ::open(QFile::encodeName(m_folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folderFd < 0) return !stopRequested();
  DIR* dir = ::fdopendir(folderFd);
  if (!dir) {
    ::close(folderFd);
    return !stopRequested();
  }
  QStringList thumbnailStems;
  while (const dirent* entry = ::readdir(dir)) {
    if (entry->d_type == DT_DIR) continue;
    // Matched case-sensitively: the store writes exactly these suffixes.
    const QString name = QFile::decodeName(entry->d_name);
    if (!name.endsWith(kPhotoSuffix)) continue;
    photoStems.insert(name.chopped(kPhotoSuffix.size()));
    if (name.size() > kThumbnailSuffix.size() && name.endsWith(kThumbnailSuffix))
      thumbnailStems.append(name.chopped(kThumbnailSuffix.size()));
  }
  bool stopped = false;
  for (const QString& stem : thumbnailStems) {
    if ((stopped = stopRequested())) break;
    // A thumbnail without its photo is never listed, so it is not even looked at.
    if (!photoStems.contains(stem)) continue;
    struct stat status;
    if (::fstatat(folderFd, QFile::encodeName(stem + kThumbnailSuffix).constData(), &status, 0) != 0 ||
        !S_ISREG(status.st_mode))
      continue;
    thumbnails.append(Thumbnail{stem, FileStamp{qint64(status.st_mtim.tv_sec),
                                                qint64(status.st_mtim.tv_nsec),
                                                qint64(status.st_size), quint64(status.st_ino)}});
  }
  ::closedir(dir);
  stats.Thumbnails = int(thumbnails.size());
  return !stopped;
}

bool ThumbnailWatcher::scan(bool firstScan) {
  using Kind = PhotoListChange::Kind;
  const auto started = std::chrono::steady_clock::now();
  ScanStats stats;
  QList<Thumbnail> thumbnails;
  QSet<QString> photoStems;
  if (!listFolder(thumbnails, photoStems, stats)) return false;

  // Only thumbnails that changed since they were handed over (or since they last failed
  // to decode) are decoded, newest first so the top of the list fills first.
  QList<Thumbnail> changed;
  for (const Thumbnail& thumbnail : thumbnails) {
    const auto known = m_handedOver.constFind(thumbnail.Stem);
    if (known != m_handedOver.constEnd() && *known == thumbnail.Stamp) continue;
    const auto failed = m_undecodable.constFind(thumbnail.Stem);
    if (failed != m_undecodable.constEnd() && *failed == thumbnail.Stamp) continue;
    changed.append(thumbnail);
  }
  std::sort(changed.begin(), changed.end(), [](const Thumbnail& a, const Thumbnail& b) {
    if (a.Stamp.Seconds != b.Stamp.Seconds) return a.Stamp.Seconds > b.Stamp.Seconds;
    return a.Stem < b.Stem;
  });

  for (const Thumbnail& thumbnail : changed) {
    if (stopRequested()) return false;
    ImageBitmap picture;
    QString description;
    ++stats.Decoded;
    if (m_options.Decoder(m_folder + thumbnail.Stem + kThumbnailSuffix, picture, description) !=
        SUCCESS) {
      m_undecodable.insert(thumbnail.Stem, thumbnail.Stamp);
      continue;
    }
    m_undecodable.remove(thumbnail.Stem);
    auto item = std::make_shared<PhotoItem>();
    item->Thumbnail = std::move(picture);
    item->FileTime = thumbnail.Stamp.Seconds;
    item->Description = std::move(description);
    const bool known = m_handedOver.contains(thumbnail.Stem);
    ++(known ? stats.Replaced : stats.Added);
    m_handedOver.insert(thumbnail.Stem, thumbnail.Stamp);
    post(PhotoListChange{known ? Kind::Replace : Kind::Add, thumbnail.Stem, std::move(item)});
  }

  // Second pass: an entry goes when its photo is gone. An entry whose thumbnail alone
  // went stays, as it was last seen.
  const QStringList handedOver = m_handedOver.keys();
  for (const QString& stem : handedOver) {
    if (stopRequested()) return false;
    if (photoStems.contains(stem)) continue;
    m_handedOver.remove(stem);
    ++stats.Removed;
    post(PhotoListChange{Kind::Remove, stem, {}});
  }
  for (auto failed = m_undecodable.begin(); failed != m_undecodable.end();)
    failed = photoStems.contains(failed.key()) ? std::next(failed) : m_undecodable.erase(failed);

  post(PhotoListChange{Kind::ScanDone, {}, {}});
  if (firstScan) post(PhotoListChange{Kind::FirstScanDone, {}, {}});
  flush();
  stats.Duration = std::chrono::steady_clock::now() - started;
  if (m_options.ScanFinished) m_options.ScanFinished(stats);
  return true;
}
