// A hundred publishing runs in a row against the reference service, on a My Photos that
// changes a little between them, a good share of the runs stopped at a random moment.
// After the last run, which goes to its end, the service must hold exactly the photos
// here: the same bytes, no temporaries, and records that name the same photos with the
// same descriptions.

#include <random>

#include <gtest/gtest.h>

#include <QRegularExpression>

#include "inet/UploadPaths.h"
#include "library/PhotoNames.h"
#include "websync/PublishRun.h"
#include "websync/SyncTestSupport.h"

namespace {

constexpr int kRuns = 100;

QString HtmlText(QString text) {
  text.replace("&lt;", "<").replace("&gt;", ">").replace("&quot;", "\"").replace("&#39;", "'");
  return text.replace("&amp;", "&");
}

class RepeatedPublishTest : public ServiceAccountTest {
 protected:
  // The photos the service's records hold, by the owner's page: "name: description".
  QStringList recordedPhotos() const {
    const QString page = QString::fromUtf8(
        Service().get(("/viewmyphotos.asp?UserId=" + userId + "&Pwd=pw").toUtf8()));
    static const QRegularExpression card(
        R"(<div class="name">([^<]*)</div>(?:<div class="comment">([^<]*)</div>)?)");
    QStringList photos;
    for (const auto& match : card.globalMatch(page))
      photos << HtmlText(match.captured(1)) + ": " + HtmlText(match.captured(2));
    photos.sort();
    return photos;
  }
  // What they must hold: every photo here, by the name it shows as, with the description
  // its file carries.
  static QStringList localPhotos(const ProgramFolder& folder) {
    PhotoStore store(folder.photos());
    QStringList photos;
    for (const QString& stem : store.Stems())
      photos << NameForStem(stem) + ": " + store.ReadDescription(stem);
    photos.sort();
    return photos;
  }
  qint64 spaceUsed() const {
    return GetUploadPaths(*session, host(),
                          userId)
        .spaceUsed;
  }

};

// Counts what a run reports, and asks for a stop at the chosen report.
class StoppingProgress : public SyncProgress {
 public:
  qint64 reports = 0;
  qint64 stopAt = 0;  // 0: never
  bool stop = false;
  QStringList problems;

  void action(const QString&) override { report(); }
  void totals(int, qint64) override { report(); }
  void filesDone(int) override { report(); }
  void bytesDone(qint64, qint64, qint64) override { report(); }
  void fileEnded() override { report(); }
  void problem(const QString& title, const QString& text) override {
    problems << title + ": " + text;
  }

 private:
  void report() {
    if (++reports == stopAt) stop = true;
  }
};

// Changes My Photos a little, as a user does between two runs. Every change is given a
// later time than the one before, so that it never falls into the second of a run that
// already sent the file it changes.
class Changes {
 public:
  Changes(ProgramFolder& folder, std::mt19937& random)
      : folder_(folder), store_(folder.photos()), random_(random) {}

  void Make(int run) {
    const int count = std::uniform_int_distribution<int>(1, 3)(random_);
    for (int i = 0; i < count; ++i) {
      QStringList stems = store_.Stems();
      stems.sort();
      const QString stem = stems.isEmpty() ? QString() : stems[Pick(stems.size())];
      const int kind = stems.size() < 40 ? 0 : std::uniform_int_distribution<int>(0, 4)(random_);
      if (kind == 0) {
        const QString name = QStringLiteral("Run %1 & photo %2").arg(run).arg(i);
        // Now and then a photo large enough to take many blocks, so runs stop inside files.
        const int width = Pick(4) == 0 ? 480 : 96;
        folder_.store(name, Description(run), width, width * 3 / 4);
        Touch(StemForName(name));
      } else if (kind == 1) {
        ImageBitmap working;
        ASSERT_EQ(store_.LoadPhoto(working, stem), SUCCESS);
        ASSERT_EQ(store_.EditComment(working, stem, Description(run)), SUCCESS);
        Touch(stem);
      } else if (kind == 2) {
        ImageBitmap working = TestPicture(96, 64, Pick(200));
        ASSERT_EQ(store_.ReplacePicture(working, stem), SUCCESS);
        Touch(stem);
      } else if (kind == 3) {
        ASSERT_EQ(store_.Rename(stem, QStringLiteral("Renamed in run %1 (%2)").arg(run).arg(i)),
                  SUCCESS);
      } else {
        folder_.remove(stem);
      }
    }
  }

 private:
  int Pick(qsizetype count) {
    return std::uniform_int_distribution<int>(0, int(count) - 1)(random_);
  }
  // Of a length of its own, with the characters that queries and pages escape.
  QString Description(int run) {
    return QStringLiteral("Taken by Ann & Tom's \"camera\" <%1>").arg(run) +
           QString(Pick(40), QChar('!'));
  }
  void Touch(const QString& stem) {
    clock_ = std::max(clock_ + 2, QDateTime::currentSecsSinceEpoch());
    for (const QString& path : {store_.PhotoPath(stem), store_.ThumbnailPath(stem)}) {
      QFile file(path);
      ASSERT_TRUE(file.open(QIODevice::ReadWrite));
      ASSERT_TRUE(file.setFileTime(QDateTime::fromSecsSinceEpoch(clock_),
                                   QFileDevice::FileModificationTime));
    }
  }

  ProgramFolder& folder_;
  PhotoStore store_;
  std::mt19937& random_;
  qint64 clock_ = 0;
};

TEST_F(RepeatedPublishTest, AHundredRunsStoppedAtRandomLeaveTheServiceEqualToHere) {
  const unsigned seed = std::random_device{}();
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 random(seed);
  ProgramFolder here;
  Changes changes(here, random);
  for (int i = 0; i < 20; ++i) changes.Make(0);

  // A stop comes after a random number of the run's looks at its stop check (anywhere in
  // a run: inside a transfer, between files), or right after one of its reports (at the
  // steps between a file's transfer and the requests about it), up to as many as the
  // last whole run had.
  StoppingProgress progress;
  qint64 looks = 0;
  qint64 stopAt = 0;
  qint64 looksOfAWholeRun = 0;
  qint64 reportsOfAWholeRun = 0;
  session->setStopCheck([&] {
    ++looks;
    return progress.stop || (stopAt > 0 && looks >= stopAt);
  });
  const PublishRequest request{host(),
                               userId,
                               here.photos(),
                               here.deletedAlbumsFile(),
                               true,
                               {},
                               false};
  int stopped = 0;
  for (int run = 1; run <= kRuns; ++run) {
    SCOPED_TRACE("run " + std::to_string(run));
    if (run > 1) changes.Make(run);
    if (HasFatalFailure()) return;
    const bool last = run == kRuns;
    looks = progress.reports = stopAt = progress.stopAt = 0;
    progress.stop = false;
    if (!last && looksOfAWholeRun > 0 && random() % 2) {
      if (random() % 2)
        stopAt = std::uniform_int_distribution<qint64>(1, looksOfAWholeRun)(random);
      else
        progress.stopAt = std::uniform_int_distribution<qint64>(1, reportsOfAWholeRun)(random);
    }
    const PublishResult result = RunPublish(*session, request, progress);
    if (result.Stopped) {
      ++stopped;
      continue;
    }
    ASSERT_TRUE(result.Completed) << result.Error.toStdString()
                                  << result.Failed.join('\n').toStdString();
    ASSERT_TRUE(result.Failed.isEmpty()) << result.Failed.join('\n').toStdString();
    looksOfAWholeRun = looks;
    reportsOfAWholeRun = progress.reports;
  }
  EXPECT_GT(stopped, 10);

  EXPECT_EQ(remoteFiles(), here.files());
  EXPECT_EQ(recordedPhotos().join('\n').toStdString(), localPhotos(here).join('\n').toStdString());
  qint64 held = 0;
  for (const QByteArray& file : remoteFiles()) held += file.size();
  EXPECT_EQ(spaceUsed(), held);
  EXPECT_TRUE(progress.problems.isEmpty()) << progress.problems.join('\n').toStdString();
}

}  // namespace
