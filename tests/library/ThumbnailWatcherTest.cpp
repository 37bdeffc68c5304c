#include <gtest/gtest.h>

#include <sys/stat.h>
#include <utime.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QItemSelectionModel>

#include "StoreTestSupport.h"
#include "krn/ResultCodes.h"
#include "library/PhotoListModel.h"
#include "library/PhotoNames.h"
#include "library/PhotoListUpdater.h"
#include "library/ThumbnailWatcher.h"

namespace {
using namespace std::chrono_literals;

QCoreApplication& App() {
  static int argc = 1;
  static char name[] = "library_tests";
  static char* argv[] = {name, nullptr};
  static QCoreApplication* app =
      QCoreApplication::instance() ? QCoreApplication::instance() : new QCoreApplication(argc, argv);
  return *app;
}

// Runs the event loop until the condition holds or the time is up.
template <typename Condition>
bool WaitFor(Condition condition, std::chrono::milliseconds timeout = 10s) {
  QElapsedTimer timer;
  timer.start();
  while (!condition()) {
    if (timer.elapsed() > timeout.count()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    std::this_thread::sleep_for(2ms);
  }
  return true;
}

void SetFileTime(const QString& path, qint64 seconds) {
  struct utimbuf times{time_t(seconds), time_t(seconds)};
  ASSERT_EQ(::utime(QFile::encodeName(path).constData(), &times), 0) << path.toStdString();
}

// Without QFile::copy's flush to disk, which would make the big folders slow to build.
bool Copy(const QString& from, const QString& to) {
  std::error_code error;
  return std::filesystem::copy_file(QFile::encodeName(from).toStdString(),
                                    QFile::encodeName(to).toStdString(), error);
}

QStringList Texts(const PhotoListModel& model) {
  QStringList texts;
  for (int row = 0; row < model.count(); ++row) texts << model.text(row);
  return texts;
}

constexpr qint64 kBaseTime = 1600000000;

class ThumbnailWatcherTest : public ::testing::Test {
 protected:
  ThumbnailWatcherTest() {
    App();
    options.Decoder = [this](const QString& file, ImageBitmap& bmp, QString& description) {
      ++decodes;
      return DecodeThumbnail(file, bmp, description);
    };
    options.ScanFinished = [this](const ThumbnailWatcher::ScanStats&) { ++scans; };
  }

  // Stores a photo through the store and gives both files the time.
  void Put(const QString& name, qint64 time, const QString& description = {}, int seed = 0) {
    ASSERT_EQ(fixture.Store(name, description, 160, 120, seed), SUCCESS);
    SetFileTime(fixture.store.PhotoPath(StemForName(name)), time);
    SetFileTime(fixture.store.ThumbnailPath(StemForName(name)), time);
  }
  // A copy of the pair of `from` under another stem. The thumbnail gets its time before
  // it arrives, so no scan sees it with another time.
  void CopyPair(const QString& from, const QString& to, qint64 time) {
    const QString temporary = fixture.Folder() + ".incoming";
    ASSERT_TRUE(Copy(fixture.store.PhotoPath(from), fixture.store.PhotoPath(to)));
    ASSERT_TRUE(Copy(fixture.store.ThumbnailPath(from), temporary));
    SetFileTime(temporary, time);
    ASSERT_TRUE(QFile::rename(temporary, fixture.store.ThumbnailPath(to)));
  }

  std::unique_ptr<ThumbnailWatcher> Start() {
    auto watcher = std::make_unique<ThumbnailWatcher>(fixture.Folder(), semaphores, &model, options);
    QObject::connect(&watcher->updater(), &PhotoListUpdater::firstScanDone, [this] { ++firstScans; });
    watcher->start();
    return watcher;
  }

  StoreFixture fixture;
  SemaphoreRegistry semaphores;
  PhotoListModel model;
  ThumbnailWatcher::Options options;
  std::atomic<int> decodes{0};
  std::atomic<int> scans{0};
  int firstScans = 0;
};

TEST_F(ThumbnailWatcherTest, FollowsAFolderChangedFromOutside) {
  Put("Beach", kBaseTime + 10, "sand");
  Put("Garden", kBaseTime + 20, "roses");
  Put("Hills", kBaseTime + 5, "green");
  auto watcher = Start();
  ASSERT_TRUE(WaitFor([&] { return firstScans == 1; }));
  EXPECT_EQ(Texts(model), QStringList({"Garden", "Beach", "Hills"}));
  EXPECT_EQ(model.item(1)->Description, "sand");
  EXPECT_EQ(model.item(1)->FileTime, kBaseTime + 10);
  EXPECT_EQ(model.item(1)->Thumbnail.Width, 100);

  // A new pair, copied in by another program, appears by itself at its place.
  CopyPair("Beach", "Fish && Chips", kBaseTime + 15);
  ASSERT_TRUE(WaitFor([&] { return model.count() == 4; }));
  EXPECT_EQ(Texts(model), QStringList({"Garden", "Fish && Chips", "Beach", "Hills"}));

  // The thumbnail alone gone: the entry stays. The photo gone: the entry goes.
  // When Beach has gone, some scan has seen Hills without its thumbnail.
  ASSERT_TRUE(QFile::remove(fixture.store.ThumbnailPath("Hills")));
  ASSERT_TRUE(QFile::remove(fixture.store.PhotoPath("Beach")));
  ASSERT_TRUE(WaitFor([&] { return model.findExact("Beach") < 0; }));
  EXPECT_EQ(Texts(model), QStringList({"Garden", "Fish && Chips", "Hills"}));
  EXPECT_TRUE(QFile::exists(fixture.store.ThumbnailPath("Beach")));

  // A re-saved thumbnail updates picture and description in place, even when the file
  // keeps its whole-second time.
  const PhotoItemPtr before = model.item(1);
  ImageBitmap working = TestPicture(120, 160, 7);
  ASSERT_EQ(fixture.store.EditComment(working, "Fish && Chips", "vinegar"), SUCCESS);
  SetFileTime(fixture.store.ThumbnailPath("Fish && Chips"), kBaseTime + 15);
  ASSERT_TRUE(WaitFor([&] { return model.item(1) && model.item(1)->Description == "vinegar"; }));
  EXPECT_EQ(model.text(1), "Fish && Chips");
  EXPECT_EQ(model.item(1)->Thumbnail.Height, 100);
  EXPECT_EQ(before->Description, "sand");  // the old item was replaced, never changed

  Put("Garden", kBaseTime + 1, "weeds");  // older now, but keeps its place
  ASSERT_TRUE(WaitFor([&] { return model.item(0)->Description == "weeds"; }));
  EXPECT_EQ(Texts(model), QStringList({"Garden", "Fish && Chips", "Hills"}));
  watcher->stop();
  EXPECT_FALSE(watcher->running());
}

TEST_F(ThumbnailWatcherTest, ListsManyPhotosNewestFirstAndSelectsTheFirst) {
  Put("seed", kBaseTime);
  for (int i = 0; i < 200; ++i)
    CopyPair("seed", QString("photo %1").arg(i, 3, 10, QChar('0')), kBaseTime + (i * 37) % 200);
  ASSERT_TRUE(QFile::remove(fixture.store.PhotoPath("seed")));
  // Stems differing only in case are different files, so different photos.
  CopyPair("photo 000", "Tom", kBaseTime + 500);
  CopyPair("photo 000", "tom", kBaseTime + 400);
  // A thumbnail without its photo, and one that does not decode.
  SetFileTime(fixture.store.ThumbnailPath("seed"), kBaseTime + 900);
  QFile broken(fixture.store.ThumbnailPath("broken"));
  ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
  broken.write("not a picture");
  broken.close();
  ASSERT_TRUE(Copy(fixture.store.PhotoPath("Tom"), fixture.store.PhotoPath("broken")));
  // The model starts with something the watcher did not put there; it is cleared.
  model.append("stale", std::make_shared<PhotoItem>());

  QStringList everInserted;
  QObject::connect(&model, &QAbstractItemModel::rowsInserted, [&](const QModelIndex&, int first, int) {
    everInserted << model.text(first);
  });
  QItemSelectionModel selection(&model);
  ThumbnailWatcher watcher(fixture.Folder(), semaphores, &model, options);
  watcher.updater().setSelectionModel(&selection);
  QObject::connect(&watcher.updater(), &PhotoListUpdater::firstScanDone, [&] { ++firstScans; });
  watcher.start();
  ASSERT_TRUE(WaitFor([&] { return firstScans == 1; }));

  ASSERT_EQ(model.count(), 202);
  EXPECT_EQ(model.text(0), "Tom");
  EXPECT_EQ(model.text(1), "tom");
  for (int row = 2; row + 1 < model.count(); ++row)
    ASSERT_GE(model.item(row)->FileTime, model.item(row + 1)->FileTime) << row;
  EXPECT_FALSE(everInserted.contains("seed"));
  EXPECT_FALSE(everInserted.contains("broken"));
  EXPECT_FALSE(everInserted.contains("stale") && model.findExact("stale") >= 0);
  EXPECT_EQ(selection.selectedRows(), QModelIndexList({model.index(0)}));
  EXPECT_EQ(decodes, 203);

  // A selection the user made is kept by later scans; the broken thumbnail, once
  // mended, appears.
  selection.setCurrentIndex(model.index(5), QItemSelectionModel::ClearAndSelect);
  ASSERT_TRUE(QFile::remove(fixture.store.ThumbnailPath("broken")));
  ASSERT_TRUE(Copy(fixture.store.ThumbnailPath("Tom"), fixture.store.ThumbnailPath("broken")));
  ASSERT_TRUE(WaitFor([&] { return model.findExact("broken") >= 0; }));
  EXPECT_EQ(selection.selectedRows().value(0).row(), 6);
}

TEST_F(ThumbnailWatcherTest, PeriodicListingStandsInAndAnUnchangedFolderDecodesNothing) {
  options.WatchMode = FolderWatch::Mode::Poll;
  options.PollInterval = 100ms;
  Put("One", kBaseTime + 1);
  Put("Two", kBaseTime + 2);
  auto watcher = Start();
  ASSERT_TRUE(WaitFor([&] { return scans >= 4; }));
  EXPECT_EQ(decodes, 2);
  EXPECT_EQ(Texts(model), QStringList({"Two", "One"}));

  CopyPair("One", "Three", kBaseTime + 3);
  ASSERT_TRUE(WaitFor([&] { return model.count() == 3; }));
  EXPECT_EQ(model.text(0), "Three");
  // A new time on one thumbnail: exactly that one is decoded again.
  SetFileTime(fixture.store.ThumbnailPath("Two"), kBaseTime + 9);
  ASSERT_TRUE(WaitFor([&] { return model.item(1)->FileTime == kBaseTime + 9; }));
  const int settled = scans;
  ASSERT_TRUE(WaitFor([&] { return scans >= settled + 3; }));
  EXPECT_EQ(decodes, 4);
}

TEST_F(ThumbnailWatcherTest, FollowsTheFolderWhenItIsRemovedAndMadeAgain) {
  options.PollInterval = 100ms;
  Put("One", kBaseTime + 1);
  auto watcher = Start();
  ASSERT_TRUE(WaitFor([&] { return model.count() == 1; }));
  const QString moved = fixture.dir.path() + "/elsewhere";
  ASSERT_TRUE(QDir().rename(fixture.Folder(), moved));
  ASSERT_TRUE(WaitFor([&] { return model.count() == 0; }));
  // Changes in the moved folder are not the My Photos folder's.
  ASSERT_TRUE(Copy(moved + "/One.jpg", moved + "/Two.jpg"));
  ASSERT_TRUE(Copy(moved + "/One_tn.jpg", moved + "/Two_tn.jpg"));
  ASSERT_TRUE(fixture.store.EnsureFolder());
  Put("Three", kBaseTime + 3);
  ASSERT_TRUE(WaitFor([&] { return model.count() == 1; }));
  EXPECT_EQ(model.text(0), "Three");
  // And the folder is followed from then on.
  CopyPair("Three", "Four", kBaseTime + 4);
  ASSERT_TRUE(WaitFor([&] { return model.count() == 2; }));
  EXPECT_EQ(Texts(model), QStringList({"Four", "Three"}));
}

TEST_F(ThumbnailWatcherTest, StopsQuicklyDuringALongFirstScan) {
  Put("seed", kBaseTime);
  for (int i = 0; i < 300; ++i) CopyPair("seed", QString("p%1").arg(i), kBaseTime + i);
  // As slow as decoding big pictures on a slow disk: the first scan would take seconds.
  options.Decoder = [this](const QString& file, ImageBitmap& bmp, QString& description) {
    ++decodes;
    std::this_thread::sleep_for(20ms);
    return DecodeThumbnail(file, bmp, description);
  };
  // The semaphore as the application makes it, released by the watcher's owner.
  auto stopSignal = semaphores.create(ThumbnailWatcher::kStopSemaphoreName, 0, 1);
  auto watcher = Start();
  ASSERT_TRUE(WaitFor([&] { return model.count() > 0; }));

  // It ends at its next check: the decode in hand finishes (a couple more if this thread
  // is held up), never the rest of the scan.
  const int decodedBeforeStop = decodes;
  watcher->stop();
  EXPECT_FALSE(watcher->running());
  EXPECT_LE(decodes, decodedBeforeStop + 3);
  EXPECT_LT(decodes, 300);
  // Changes still queued are dropped with the watcher; nothing reaches the model later.
  watcher.reset();
  const int shown = model.count();
  QCoreApplication::processEvents();
  EXPECT_EQ(model.count(), shown);
  EXPECT_EQ(firstScans, 0);
}

TEST_F(ThumbnailWatcherTest, OutlivesItsModel) {
  options.WatchMode = FolderWatch::Mode::Poll;
  options.PollInterval = 50ms;
  Put("One", kBaseTime + 1);
  auto doomed = std::make_unique<PhotoListModel>();
  ThumbnailWatcher watcher(fixture.Folder(), semaphores, doomed.get(), options);
  int applied = 0;
  QObject::connect(&watcher.updater(), &PhotoListUpdater::scanDone, [&] { ++applied; });
  watcher.start();
  ASSERT_TRUE(WaitFor([&] { return doomed->count() == 1; }));
  doomed.reset();
  CopyPair("One", "Two", kBaseTime + 2);
  const int before = applied;
  ASSERT_TRUE(WaitFor([&] { return applied >= before + 2; }));
  EXPECT_EQ(watcher.updater().model(), nullptr);
  // The watcher made "ThumbStop" itself, as nobody had; releasing it ends the thread.
  ASSERT_TRUE(semaphores.open(ThumbnailWatcher::kStopSemaphoreName)->release());
  ASSERT_TRUE(WaitFor([&] { return !watcher.running(); }, 2s));
}
}  // namespace
