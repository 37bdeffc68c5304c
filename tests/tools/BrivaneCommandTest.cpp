#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

#include <array>
#include <csignal>
#include <cstdio>
#include <memory>
#include <thread>

namespace {
struct Outcome {
  int status = -1;
  QString out;
  QString err;
};

// One brivane session on a fresh program folder, run as a user's shell would run it.
class BrivaneCommandTest : public ::testing::Test {
 protected:
  BrivaneCommandTest() { QDir().mkpath(Inputs()); }

  QString ProgramFolder() const { return dir.path() + "/program/"; }
  QString Inputs() const { return dir.path() + "/in/"; }
  QString MyPhotos() const { return ProgramFolder() + "myphotos/"; }

  Outcome Brivane(const QStringList& arguments, bool withFolder = true) {
    return Finish(*Start(arguments, withFolder));
  }

  std::unique_ptr<QProcess> Start(const QStringList& arguments, bool withFolder = true) {
    auto process = std::make_unique<QProcess>();
    process->setWorkingDirectory(dir.path());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("BRIVANE_PROGRAM_FOLDER");
    process->setProcessEnvironment(environment);
    QStringList all = arguments;
    if (withFolder) all = QStringList({"--program-folder", ProgramFolder()}) + arguments;
    process->start(QString(BRIVANE_PROGRAM_DIR) + "brivane", all);
    return process;
  }

  static Outcome Finish(QProcess& process) {
    EXPECT_TRUE(process.waitForFinished(120000));
    Outcome run;
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
  }

  // Files of the store that are neither half of a whole photo nor a lock.
  QStringList StrayFiles() {
    const QStringList files = QDir(MyPhotos()).entryList(QDir::Files | QDir::Hidden);
    QStringList stray;
    for (const QString& file : files) {
      if (file.endsWith(".lock")) continue;
      const QString stem = file.endsWith("_tn.jpg") ? file.chopped(7) : file.chopped(4);
      if (!file.endsWith(".jpg") || !files.contains(stem + ".jpg") || !files.contains(stem + "_tn.jpg"))
        stray << file;
    }
    return stray;
  }

  QString Picture(const QString& fileName, int width = 200, int height = 150) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) image.setPixel(x, y, qRgb(x % 256, y % 256, 90));
    const QString path = Inputs() + fileName;
    const QByteArray format = fileName.endsWith(".bmp") ? "BMP" : "JPEG";
    EXPECT_TRUE(image.save(path, format.constData()));
    return path;
  }

  QStringList ListedNames() {
    QStringList names;
    for (const QString& line : Brivane({"list"}).out.split('\n', Qt::SkipEmptyParts))
      names << line.section('\t', 0, 0);
    return names;
  }

  QTemporaryDir dir;
};
}  // namespace

TEST_F(BrivaneCommandTest, ASessionImportsListsDescribesRenamesExportsAndDeletes) {
  ASSERT_TRUE(QDir().mkpath(ProgramFolder()));
  QFile notes(Inputs() + "notes.txt");
  ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
  notes.close();

  Outcome run = Brivane({"import", "--description", "Summer", Picture("beach.jpg"),
                         Picture("Fish & Chips.bmp", 300, 100), notes.fileName(), Picture("photo.jpeg")});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "beach\nFish & Chips\n");
  EXPECT_TRUE(run.err.contains("[1/4] " + Inputs() + "beach.jpg")) << run.err.toStdString();
  EXPECT_TRUE(run.err.contains("skipped " + notes.fileName()));
  EXPECT_TRUE(run.err.contains("skipped " + Inputs() + "photo.jpeg"));
  EXPECT_TRUE(run.err.trimmed().endsWith("2 of 4 files were not imported"));
  EXPECT_TRUE(QFile::exists(MyPhotos() + "Fish && Chips_tn.jpg"));

  // The same name again: skipped unless asked to replace or renumber.
  const QString again = Picture("beach.jpg", 120, 120);
  run = Brivane({"import", again});
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(run.err.contains("already stored")) << run.err.toStdString();
  run = Brivane({"import", "--rename", again});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "beach (2)\n");
  EXPECT_EQ(Brivane({"import", "--replace", again}).status, 0);

  run = Brivane({"list"});
  const QStringList lines = run.out.split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 3);
  // Newest first: the replaced beach, without a description.
  EXPECT_TRUE(lines[0].contains(QRegularExpression(R"(^beach\t\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\t$)")));
  EXPECT_TRUE(run.out.contains("Fish & Chips\t"));

  EXPECT_EQ(Brivane({"describe", "Fish & Chips", "Line one\nwith a\ttab"}).status, 0);
  EXPECT_TRUE(Brivane({"list"}).out.contains("\tLine one\\nwith a\\ttab\n"));
  EXPECT_EQ(Brivane({"describe", "Fish & Chips", QString(256, 'x')}).status, 2);

  run = Brivane({"rename", "beach (2)", "Fish"});
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(run.err.contains("You already have a photo named 'Fish'.  Please type a different name."));
  EXPECT_EQ(Brivane({"rename", "beach (2)", "../outside"}).status, 1);
  EXPECT_EQ(Brivane({"rename", "beach (2)", "Sunset"}).status, 0);
  EXPECT_TRUE(ListedNames().contains("Sunset"));

  // Export: the format from the extension, ".jpg" when there is none.
  run = Brivane({"export", "Sunset", "out"});
  EXPECT_EQ(run.status, 0) << run.err.toStdString();
  run = Brivane({"info", dir.path() + "/out.jpg"});
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(run.out.contains("bits per pixel: 24"));
  EXPECT_TRUE(run.out.contains("size: 120 x 120"));
  EXPECT_EQ(Brivane({"export", "Sunset", "out"}).status, 1);  // exists
  EXPECT_EQ(Brivane({"export", "--force", "Sunset", "out"}).status, 0);
  EXPECT_EQ(Brivane({"export", "Fish & Chips", "chips.gif"}).status, 0);
  run = Brivane({"info", dir.path() + "/chips.gif"});
  EXPECT_TRUE(run.out.contains("bits per pixel: 8")) << run.out.toStdString();
  EXPECT_TRUE(run.out.contains("size: 300 x 100"));
  run = Brivane({"export", "Sunset", "odd.xyz"});
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(run.err.contains("ERROR_")) << run.err.toStdString();
  EXPECT_FALSE(QFile::exists(dir.path() + "/odd.xyz"));

  run = Brivane({"info", MyPhotos() + "Fish && Chips.jpg"});
  EXPECT_TRUE(run.out.contains("description: Line one\\nwith a\\ttab"));
  EXPECT_EQ(Brivane({"info", notes.fileName()}).status, 1);

  EXPECT_EQ(Brivane({"delete", "Sunset"}).status, 0);
  run = Brivane({"delete", "Sunset"});
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(run.err.contains("there is no photo named 'Sunset'"));
  QStringList left = ListedNames();
  left.sort(Qt::CaseInsensitive);
  EXPECT_EQ(left, QStringList({"beach", "Fish & Chips"}));
}

TEST_F(BrivaneCommandTest, HelpUsageErrorsAndTheProgramFolder) {
  for (const QString command : {"import", "list", "describe", "rename", "delete", "export", "info"})
    EXPECT_TRUE(Brivane({command, "--help"}, false).out.startsWith("Usage: brivane " + command));
  // The tool's own usage: asked for on standard output, for a missing command on standard error.
  for (const QString help : {"--help", "-h"}) {
    const Outcome asked = Brivane({help}, false);
    EXPECT_EQ(asked.status, 0);
    EXPECT_TRUE(asked.out.startsWith("Usage: brivane [--program-folder DIR] COMMAND"))
        << asked.out.toStdString();
    EXPECT_TRUE(asked.out.contains("show build PHOTO..."));
    EXPECT_TRUE(asked.err.isEmpty());
  }
  const Outcome bare = Brivane({}, false);
  EXPECT_EQ(bare.status, 2);
  EXPECT_TRUE(bare.out.isEmpty());
  EXPECT_TRUE(bare.err.startsWith("Usage: brivane [--program-folder DIR] COMMAND"))
      << bare.err.toStdString();
  EXPECT_EQ(Brivane({"import", "--replace", "--rename", "x.jpg"}).status, 2);
  // A missing program folder is an error, not a folder made up on the spot.
  Outcome run = Brivane({"list"});
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(run.err.contains("does not exist"));
  EXPECT_FALSE(QFile::exists(ProgramFolder()));

  // Without the option the environment names it, as for the program.
  ASSERT_TRUE(QDir().mkpath(ProgramFolder()));
  EXPECT_EQ(Brivane({"import", Picture("one.jpg")}).status, 0);
  QProcess process;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("BRIVANE_PROGRAM_FOLDER", ProgramFolder());
  process.setProcessEnvironment(environment);
  process.start(QString(BRIVANE_PROGRAM_DIR) + "brivane", {"list"});
  ASSERT_TRUE(process.waitForFinished(60000));
  EXPECT_TRUE(process.readAllStandardOutput().startsWith("one\t"));
}

TEST_F(BrivaneCommandTest, ImportsRunningAtOnceNeverShareOrReplaceAPhoto) {
  ASSERT_TRUE(QDir().mkpath(ProgramFolder()));
  constexpr int kRuns = 4;
  constexpr int kFiles = 8;
  auto filesOf = [&](int run, const QString& stem) {
    QDir().mkpath(Inputs() + QString::number(run));
    QStringList files;
    for (int i = 0; i < kFiles; ++i)
      files << Picture(QStringLiteral("%1/%2%3.jpg").arg(run).arg(stem).arg(i), 160 + 8 * run, 120);
    return files;
  };
  auto runAtOnce = [&](const QStringList& flags, const QString& stem) {
    std::vector<std::unique_ptr<QProcess>> processes;
    for (int run = 0; run < kRuns; ++run)
      processes.push_back(Start(QStringList{"import", "--jobs", "2"} + flags + filesOf(run, stem)));
    QList<Outcome> outcomes;
    for (auto& process : processes) outcomes << Finish(*process);
    return outcomes;
  };

  // Renumbering: every photo reported is there under its own name.
  QStringList reported;
  for (const Outcome& run : runAtOnce({"--rename"}, "p")) {
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    reported << run.out.split('\n', Qt::SkipEmptyParts);
  }
  EXPECT_EQ(reported.size(), kRuns * kFiles);
  EXPECT_EQ(QSet<QString>(reported.begin(), reported.end()).size(), kRuns * kFiles);
  QStringList listed = ListedNames();
  listed.sort();
  reported.sort();
  EXPECT_EQ(listed, reported);

  // Without a flag each name is stored once; every other run says it skipped it.
  reported.clear();
  int skipped = 0;
  for (const Outcome& run : runAtOnce({}, "q")) {
    reported << run.out.split('\n', Qt::SkipEmptyParts);
    skipped += run.err.count("is already stored");
  }
  EXPECT_EQ(reported.size(), kFiles);
  EXPECT_EQ(skipped, (kRuns - 1) * kFiles);
  EXPECT_EQ(ListedNames().size(), (kRuns + 1) * kFiles);
  EXPECT_EQ(StrayFiles(), QStringList());
}

TEST_F(BrivaneCommandTest, HalfPhotosAndAnotherPhotosFilesAreToldTruly) {
  ASSERT_TRUE(QDir().mkpath(ProgramFolder()));
  ASSERT_EQ(Brivane({"import", Picture("X.jpg")}).status, 0);
  QFile thumbnail(MyPhotos() + "X_tn.jpg");
  ASSERT_TRUE(thumbnail.open(QIODevice::ReadOnly));
  const QByteArray before = thumbnail.readAll();
  thumbnail.close();
  // "X_tn.jpg" is X's thumbnail: no flag makes a photo "X_tn" overwrite it.
  for (const QStringList& flags : {QStringList(), QStringList{"--replace"}, QStringList{"--rename"}}) {
    const Outcome run = Brivane(QStringList{"import"} + flags + QStringList{Picture("X_tn.jpg", 300, 300)});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains("its files would be those of the photo 'X'")) << run.err.toStdString();
  }
  ASSERT_TRUE(thumbnail.open(QIODevice::ReadOnly));
  EXPECT_EQ(thumbnail.readAll(), before);
  thumbnail.close();

  // A kill between the two renames left a photo without its thumbnail; the next run
  // finishes it, and lists it.
  ASSERT_EQ(Brivane({"import", Picture("Half.jpg")}).status, 0);
  ASSERT_TRUE(QFile::remove(MyPhotos() + "Half_tn.jpg"));
  Outcome run = Brivane({"list"});
  EXPECT_TRUE(run.err.contains("made the missing thumbnail of 'Half'"));
  EXPECT_TRUE(run.out.contains("Half\t"));
  // A delete cut short left a thumbnail: removed, and the name is free again.
  ASSERT_TRUE(QFile::remove(MyPhotos() + "X.jpg"));
  run = Brivane({"delete", "X"});
  EXPECT_TRUE(run.err.contains("removed the thumbnail of 'X', whose photo is gone"));
  EXPECT_TRUE(run.err.contains("there is no photo named 'X'"));
  EXPECT_EQ(Brivane({"import", Picture("X.jpg")}).status, 0);
  EXPECT_EQ(StrayFiles(), QStringList());

  // A file name that is not UTF-8 is refused for what it is.
  QFile good(Picture("good.jpg"));
  ASSERT_TRUE(good.open(QIODevice::ReadOnly));
  const QByteArray picture = good.readAll();
  const QByteArray raw = QFile::encodeName(Inputs()) + "bad\xff\xfe.jpg";
  FILE* out = std::fopen(raw.constData(), "wb");
  ASSERT_NE(out, nullptr);
  std::fwrite(picture.constData(), 1, size_t(picture.size()), out);
  std::fclose(out);
  QProcess shell;
  shell.start("/bin/sh", {"-c", "exec \"$0\" --program-folder \"$1\" import \"$2\"bad*.jpg",
                          QString(BRIVANE_PROGRAM_DIR) + "brivane", ProgramFolder(), Inputs()});
  run = Finish(shell);
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(run.err.contains("the file name is not valid UTF-8")) << run.err.toStdString();
}

TEST_F(BrivaneCommandTest, KilledImportsLeaveNoHalfPhotosAndStoppedOnesNoTemporaries) {
  ASSERT_TRUE(QDir().mkpath(ProgramFolder()));
  QStringList files;
  for (int i = 0; i < 6; ++i) files << Picture(QStringLiteral("k%1.jpg").arg(i), 1200, 900);
  QStringList killedLeft;  // a kill's temporaries wait for a sweep at a later start
  for (int round = 1; round <= 9; ++round) {
    const int signal = std::array{SIGKILL, SIGTERM, SIGINT}[size_t(round % 3)];
    auto process = Start(QStringList{"import", "--replace", "--jobs", "2"} + files);
    ASSERT_TRUE(process->waitForStarted());
    std::this_thread::sleep_for(std::chrono::milliseconds(40 * round));
    ::kill(pid_t(process->processId()), signal);
    Finish(*process);
    // The next run mends what a kill left half done; an interrupt or a terminate signal
    // leaves no temporary behind either.
    Brivane({"list"});
    QStringList stray = StrayFiles();
    if (signal == SIGKILL) killedLeft = stray.filter(".tmp");
    for (const QString& file : killedLeft) stray.removeAll(file);
    EXPECT_TRUE(stray.isEmpty()) << "round " << round << ", signal " << signal << ": "
                                 << stray.join(", ").toStdString();
  }
}
