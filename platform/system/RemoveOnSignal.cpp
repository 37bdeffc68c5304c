#include "system/RemoveOnSignal.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <mutex>

namespace remove_on_signal {
enum State : int { kFree = 0, kFilling, kReady, kRemoving };

struct Slot {
  std::atomic<int> State{kFree};
  std::atomic<pid_t> Owner{0};
  RemoveOnSignal::Kind What = RemoveOnSignal::Kind::File;
  char Path[RemoveOnSignal::kMaxPathBytes] = {};
};

struct Table {
  std::atomic<bool> Stopping{false};
  // Threads between deciding to make a covered file and knowing it is covered.
  std::atomic<int> Creating{0};
  Slot Slots[RemoveOnSignal::kSlots];
  std::once_flag Installed;
};

static_assert(std::atomic<int>::is_always_lock_free && std::atomic<pid_t>::is_always_lock_free &&
                  std::atomic<bool>::is_always_lock_free,
              "the signal handler may only use lock-free atomics");

// inline: one table for the whole process, also when several shared objects carry this
// file (the imaging modules and the program both link it), so that whichever installed
// the handler sees every path.
inline Table gTable;

// The record getdents64 fills; the kernel's layout.
struct DirectoryEntry64 {
  uint64_t Inode;
  int64_t Offset;
  unsigned short Length;
  unsigned char Type;
  char Name[1];
};

bool isDotOrDotDot(const char* name) {
  return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// One pass over the folder's entries, unlinking every one it can; whether any went.
bool unlinkEntries(int folder) {
  alignas(8) char buffer[4096];
  bool removed = false;
  for (;;) {
    const long got = syscall(SYS_getdents64, folder, buffer, sizeof buffer);
    if (got <= 0) return removed;
    for (long at = 0; at < got;) {
      const auto* entry = reinterpret_cast<const DirectoryEntry64*>(buffer + at);
      if (entry->Length == 0) return removed;
      if (!isDotOrDotDot(entry->Name) && unlinkat(folder, entry->Name, 0) == 0) removed = true;
      at += entry->Length;
    }
  }
}

void removeFolder(const char* path) {
  const int folder = open(path, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (folder >= 0) {
    // Entries removed while the listing is read can make it skip others: list again
    // until a pass finds nothing more (a few passes at most).
    for (int pass = 0; pass < 4; ++pass) {
      if (!unlinkEntries(folder)) break;
      lseek(folder, 0, SEEK_SET);
    }
    close(folder);
  }
  unlinkat(AT_FDCWD, path, AT_REMOVEDIR);
}

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

void handleSignal(int signal) {
  const int savedErrno = errno;
  const pid_t self = getpid();
  // Before the slots are read: a file made after this is removed by its owner (stopping()).
  gTable.Stopping.store(true);
  // A thread making a covered file finishes first (at most a fifth of a second), so that
  // no file appears once the slots have been gone through.
  for (int wait = 0; wait < 4000 && gTable.Creating.load() > 0; ++wait) {
    const timespec pause{0, 50 * 1000};
    nanosleep(&pause, nullptr);
  }
  for (Slot& slot : gTable.Slots) {
    int expected = kReady;
    if (!slot.State.compare_exchange_strong(expected, kRemoving)) continue;
    if (slot.Owner.load() != self) {
      // A parent's path, inherited through fork: not ours to remove.
      slot.State.store(kReady);
      continue;
    }
    if (slot.What == RemoveOnSignal::Kind::Folder)
      removeFolder(slot.Path);
    else
      unlink(slot.Path);
  }
  // The signal is blocked while this runs: raised again, it takes its default course
  // as soon as the handler returns.
  struct sigaction defaults {};
  defaults.sa_handler = SIG_DFL;
  sigemptyset(&defaults.sa_mask);
  sigaction(signal, &defaults, nullptr);
  raise(signal);
  errno = savedErrno;
}

void installHandlers() {
  struct sigaction ours {};
  ours.sa_handler = handleSignal;
  sigemptyset(&ours.sa_mask);
  for (int signal : kSignals) sigaddset(&ours.sa_mask, signal);
  ours.sa_flags = SA_RESTART;
  for (int signal : kSignals) {
    struct sigaction current {};
    if (sigaction(signal, nullptr, &current) != 0) continue;
    const bool isDefault = !(current.sa_flags & SA_SIGINFO) && current.sa_handler == SIG_DFL;
    if (isDefault) sigaction(signal, &ours, nullptr);
  }
}
}  // namespace remove_on_signal

using namespace remove_on_signal;

RemoveOnSignal::RemoveOnSignal(const QString& path, Kind kind) {
  // Absolute: the process may change its working folder before a signal comes.
  const QByteArray encoded = QFile::encodeName(QFileInfo(path).absoluteFilePath());
  if (path.isEmpty() || encoded.size() >= kMaxPathBytes || encoded.contains('\0')) return;
  std::call_once(gTable.Installed, installHandlers);
  for (int i = 0; i < kSlots; ++i) {
    Slot& slot = gTable.Slots[i];
    int expected = kFree;
    if (!slot.State.compare_exchange_strong(expected, kFilling)) continue;
    std::memcpy(slot.Path, encoded.constData(), std::size_t(encoded.size()) + 1);
    slot.What = kind;
    slot.Owner.store(getpid());
    slot.State.store(kReady);
    m_slot = i;
    return;
  }
}

RemoveOnSignal::~RemoveOnSignal() { release(); }

bool RemoveOnSignal::stopping() { return gTable.Stopping.load(); }

RemoveOnSignal::Creation::Creation() { gTable.Creating.fetch_add(1); }
RemoveOnSignal::Creation::~Creation() { gTable.Creating.fetch_sub(1); }

RemoveOnSignal::RemoveOnSignal(RemoveOnSignal&& other) noexcept : m_slot(other.m_slot) {
  other.m_slot = -1;
}

RemoveOnSignal& RemoveOnSignal::operator=(RemoveOnSignal&& other) noexcept {
  if (this != &other) {
    release();
    m_slot = other.m_slot;
    other.m_slot = -1;
  }
  return *this;
}

void RemoveOnSignal::release() {
  if (m_slot < 0) return;
  // A slot the handler is working on stays with it: the process is ending anyway.
  int expected = kReady;
  gTable.Slots[m_slot].State.compare_exchange_strong(expected, kFree);
  m_slot = -1;
}
