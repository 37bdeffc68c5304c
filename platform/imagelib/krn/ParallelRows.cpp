#include "krn/ParallelRows.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "krn/ltkrn.h"

namespace {
// Several bands a thread, so that a slow core does not hold the others up at the end.
constexpr int kBandsPerThread = 8;

int ThreadCount() { return std::max(1, int(std::thread::hardware_concurrency())); }

// Asks the progress callback only when `stoppable`.
bool RunBands(int rows, const std::function<void(int, int)>& work, bool stoppable, int progressFrom,
              int progressTo, int minimumBand) {
  if (rows <= 0) return !stoppable || ReportProgress(progressTo);
  const int threads = ThreadCount();
  const int band = std::max(std::max(1, minimumBand), (rows + threads * kBandsPerThread - 1) /
                                                          (threads * kBandsPerThread));
  const int bands = (rows + band - 1) / band;
  const int helpers = std::min(threads, bands) - 1;

  std::atomic<int> next{0};
  std::atomic<int> done{0};
  std::atomic<bool> stop{false};
  std::mutex mutex;
  std::condition_variable changed;
  auto runBands = [&](bool reports) {
    for (;;) {
      if (stop) return;
      const int index = next++;
      if (index >= bands) return;
      const int first = index * band;
      work(first, std::min(rows, first + band));
      {
        std::lock_guard lock(mutex);
        ++done;
      }
      changed.notify_all();
      if (reports && stoppable && !ReportProgress(progressFrom + (progressTo - progressFrom) * done / bands))
        stop = true;
    }
  };

  std::vector<std::thread> pool;
  pool.reserve(size_t(helpers));
  for (int i = 0; i < helpers; ++i) pool.emplace_back(runBands, false);
  runBands(true);
  // The helpers' last bands: go on reporting while they finish.
  {
    std::unique_lock lock(mutex);
    while (done < std::min(bands, next.load())) {
      changed.wait_for(lock, std::chrono::milliseconds(50));
      lock.unlock();
      if (stoppable && !stop && !ReportProgress(progressFrom + (progressTo - progressFrom) * done / bands))
        stop = true;
      lock.lock();
    }
  }
  for (std::thread& thread : pool) thread.join();
  // The end is always reported, so a stop asked for is honoured even when the helpers did
  // every band before this thread could report one.
  if (stoppable && !stop && done == bands && !ReportProgress(progressTo)) stop = true;
  return !stop && done == bands;
}
}  // namespace

bool ForEachRowBand(int rows, const std::function<void(int, int)>& work, int progressFrom, int progressTo,
                    int minimumBand) {
  return RunBands(rows, work, true, progressFrom, progressTo, minimumBand);
}

void ForEachRowBandToTheEnd(int rows, const std::function<void(int, int)>& work, int minimumBand) {
  RunBands(rows, work, false, 0, 0, minimumBand);
}
