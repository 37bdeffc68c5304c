#include "system/FolderWatch.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include <QFile>

namespace {
constexpr uint32_t kWatchedEvents = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO |
                                    IN_CLOSE_WRITE | IN_ATTRIB | IN_DELETE_SELF |
                                    IN_MOVE_SELF | IN_ONLYDIR;
// The folder itself is gone or moved: the watch no longer sees the folder by its path.
constexpr uint32_t kWatchLost = IN_IGNORED | IN_DELETE_SELF | IN_MOVE_SELF | IN_UNMOUNT;
}  // namespace

FolderWatch::FolderWatch(QString folder, Mode mode, std::chrono::milliseconds pollInterval)
    : m_folder(std::move(folder)), m_mode(mode), m_pollInterval(pollInterval),
      m_lastPoll(std::chrono::steady_clock::now()) {
  if (m_mode == Mode::Notify) startNotify();
}

FolderWatch::~FolderWatch() {
  if (m_fd >= 0) ::close(m_fd);
}

bool FolderWatch::startNotify() {
  if (m_fd < 0) m_fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  if (m_fd < 0) return false;
  m_watch = ::inotify_add_watch(m_fd, QFile::encodeName(m_folder).constData(), kWatchedEvents);
  return m_watch >= 0;
}

void FolderWatch::stopNotify() {
  if (m_watch >= 0 && m_fd >= 0) ::inotify_rm_watch(m_fd, m_watch);
  m_watch = -1;
}

bool FolderWatch::drainEvents() {
  bool changed = false;
  alignas(inotify_event) char buffer[8192];
  for (;;) {
    const ssize_t length = ::read(m_fd, buffer, sizeof buffer);
    if (length < 0 && errno == EINTR) continue;
    if (length <= 0) break;
    for (ssize_t offset = 0; offset + ssize_t(sizeof(inotify_event)) <= length;) {
      inotify_event event;
      std::memcpy(&event, buffer + offset, sizeof event);
      const char* name = buffer + offset + sizeof(inotify_event);
      offset += ssize_t(sizeof(inotify_event)) + event.len;
      if (offset > length) break;
      if (event.wd != m_watch && !(event.mask & IN_Q_OVERFLOW)) continue;
      if (event.mask & kWatchLost) {
        stopNotify();
        changed = true;
        continue;
      }
      // Only ".jpg" names can change the photos; the store's hidden temporaries cannot.
      const std::size_t nameLength = event.len > 0 ? ::strnlen(name, event.len) : 0;
      const bool isJpg = nameLength >= 4 && std::memcmp(name + nameLength - 4, ".jpg", 4) == 0;
      if (event.mask & IN_Q_OVERFLOW || isJpg) changed = true;
    }
  }
  return changed;
}

bool FolderWatch::takeChange() {
  if (m_watch >= 0) {
    const bool changed = drainEvents();
    // A watch lost while draining is a change already; polling takes over from here.
    if (m_watch < 0) m_lastPoll = std::chrono::steady_clock::now();
    return changed;
  }
  const auto now = std::chrono::steady_clock::now();
  if (now - m_lastPoll < m_pollInterval) return false;
  m_lastPoll = now;
  // The folder may be back (or inotify may work now); a fresh watch misses nothing
  // because the change reported here makes the caller list the folder anyway.
  if (m_mode == Mode::Notify) startNotify();
  return true;
}
