#include "library/PhotoBatchImporter.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>


PhotoBatchImporter::PhotoBatchImporter(PhotoStore& store) : store_(store) {}

QList<ImportResult> PhotoBatchImporter::Import(const QStringList& files, const Report& report) {
  const qsizetype count = files.size();
  QList<ImportResult> results(count);
  if (count == 0) return results;

  std::mutex mutex;
  std::condition_variable changed;
  qsizetype nextToPlace = 0;  // names are chosen and photos placed in the order of the files
  std::vector<bool> done(size_t(count), false);
  std::atomic<qsizetype> nextFile{0};

  auto work = [&] {
    ImageBitmap working;
    PhotoImporter importer(store_, working);
    importer.SetWhenTaken(whenTaken_);
    importer.SetDescription(description_);
    for (qsizetype index = nextFile++; index < count; index = nextFile++) {
      const QString& file = files[index];
      ImportResult result;
      // Decoding and encoding, the long parts, run before this file's turn comes.
      PreparedPhoto prepared;
      const bool going = importer.CheckFile(file, result) && importer.Decode(file, result) &&
                         importer.Prepare(result, prepared);

      std::unique_lock lock(mutex);
      changed.wait(lock, [&] { return nextToPlace == index; });
      lock.unlock();
      // Placing is quick; doing it in turn makes the names those of a one-by-one import.
      if (going) importer.Place(result, prepared);
      lock.lock();
      ++nextToPlace;
      results[index] = result;
      done[size_t(index)] = true;
      changed.notify_all();
    }
  };

  int threads = threads_ > 0 ? threads_ : int(std::max(1u, std::thread::hardware_concurrency()));
  threads = int(std::min<qsizetype>(threads, count));
  std::vector<std::thread> workers;
  for (int i = 0; i < threads; ++i) workers.emplace_back(work);
  // Reports go out from this thread, in order, as the files finish.
  for (qsizetype index = 0; index < count; ++index) {
    std::unique_lock lock(mutex);
    changed.wait(lock, [&] { return done[size_t(index)]; });
    const ImportResult result = results[index];
    lock.unlock();
    if (report) report(index, files[index], result);
  }
  for (std::thread& worker : workers) worker.join();
  return results;
}
