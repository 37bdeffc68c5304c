#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QColor>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <QtEndian>
#include <chrono>
#include <thread>

#include "shows/ShowBuild.h"
#include "support/FileBytes.h"

namespace {
void Write(const QString& path, const QByteArray& bytes, bool executable = false) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  ASSERT_EQ(file.write(bytes), bytes.size());
  file.close();
  if (executable) file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
}

QByteArray Integers(const QList<qint32>& values) {
  QByteArray bytes;
  for (const qint32 value : values) {
    char little[4];
    qToLittleEndian(value, little);
    bytes.append(little, 4);
  }
  return bytes;
}

struct Launch {
  pid_t Pid = -1;
  int Status = -1;
};

// Shows built with the real launcher and a shell-script player that records how it was
// started and copies everything beside it to a folder outside the extraction folder.
class LauncherTest : public ::testing::Test {
 protected:
  LauncherTest() {
    for (const QString& folder : {Programs(), Photos(), Shows(), Temporary(), Record()})
      QDir().mkpath(folder);
    QFile::copy(QString(BRIVANE_PROGRAM_DIR) + "mirrant", Programs() + "mirrant");
    QByteArray player = R"(#!/bin/sh
{ printf '%s\n' "$0"; for a in "$@"; do printf '[%s]\n' "$a"; done; pwd; stat -c %a .; } > 'RECORD/args'
{ printf '%s\n' "${XDG_RUNTIME_DIR-unset}"; stat -c %a "${XDG_RUNTIME_DIR-unset}"; } > 'RECORD/runtime' 2>/dev/null
mkdir -p 'RECORD/files' && cp ./* 'RECORD/files/'
)";
    player.replace("RECORD/", QFile::encodeName(Record()));
    Write(Programs() + "pavonel", player, true);
    Write(Programs() + "corilan", player, true);
    for (const QString file :
         {"lfcmp10n.dll", "ltdis10n.dll", "ltfil10n.dll", "ltkrn10n.dll", "ltefx10n.dll"})
      Write(Programs() + file, "module " + file.toUtf8());
    for (const QString stem : {"Beach", "Dog", "Sunset"})
      Write(Photos() + stem + ".jpg", "\xff\xd8" + stem.toUtf8().repeated(300) + "\xff\xd9");
  }

  QString Programs() const { return dir.path() + "/program/"; }
  QString Photos() const { return dir.path() + "/photos/"; }
  QString Shows() const { return dir.path() + "/shows/"; }
  QString Temporary() const { return dir.path() + "/tmp/"; }
  QString Record() const { return dir.path() + "/record/"; }

  QString Build(ShowKind kind, const QString& name,
                const QStringList& stems = {"Beach", "Dog", "Sunset"}) {
    ShowBuildRequest request;
    request.Kind = kind;
    request.ProgramFolder = Programs();
    request.PhotoFolder = Photos();
    request.PhotoStems = stems;
    request.Name = name;
    request.Folder = Shows();
    const ShowBuildResult result = BuildShow(request, nullptr);
    EXPECT_EQ(result.Result, kShowBuilt) << result.Error.toStdString();
    return result.Target;
  }

  // Starts the show as a desktop would, with argv[0] as given, and no display.
  Launch Start(const QString& show, const QStringList& arguments, QString argv0 = {},
               const QByteArrayList& settings = {}) {
    if (argv0.isEmpty()) argv0 = show;
    QList<QByteArray> parts = {QFile::encodeName(argv0)};
    for (const QString& argument : arguments) parts << argument.toUtf8();
    std::vector<char*> argv;
    for (QByteArray& part : parts) argv.push_back(part.data());
    argv.push_back(nullptr);
    QByteArray temporary = "TMPDIR=" + QFile::encodeName(Temporary());
    QByteArray path = "PATH=/usr/bin:/bin";
    QByteArrayList variables =
        settings + QByteArrayList({temporary, path});  // the first one counts
    std::vector<char*> environment;
    for (QByteArray& variable : variables) environment.push_back(variable.data());
    environment.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const QByteArray errors = QFile::encodeName(dir.path() + "/stderr");
    posix_spawn_file_actions_addopen(&actions, 2, errors.constData(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    Launch run;
    const QByteArray program = QFile::encodeName(show);
    EXPECT_EQ(posix_spawn(&run.Pid, program.constData(), &actions, nullptr, argv.data(),
                          environment.data()),
              0);
    posix_spawn_file_actions_destroy(&actions);
    return run;
  }

  void Wait(Launch& run) { ASSERT_EQ(waitpid(run.Pid, &run.Status, 0), run.Pid); }

  Launch Play(const QString& show, const QStringList& arguments, const QString& argv0 = {},
              const QByteArrayList& settings = {}) {
    Launch run = Start(show, arguments, argv0, settings);
    Wait(run);
    return run;
  }

  QStringList RecordedArguments() const {
    return QString::fromUtf8(ReadAll(Record() + "args")).split('\n', Qt::SkipEmptyParts);
  }
  // The XDG_RUNTIME_DIR the player was given, and that folder's mode as the player saw it.
  QStringList RecordedRuntime() const {
    return QString::fromUtf8(ReadAll(Record() + "runtime")).split('\n', Qt::SkipEmptyParts);
  }
  QString Errors() const { return QString::fromUtf8(ReadAll(dir.path() + "/stderr")); }
  bool TemporaryIsEmpty() const {
    return QDir(Temporary()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
  }

  QTemporaryDir dir;
};

int ExitCode(const Launch& run) { return WIFEXITED(run.Status) ? WEXITSTATUS(run.Status) : -1; }
}  // namespace

TEST_F(LauncherTest, ASlideShowExtractsEveryPieceRunsThePlayerWithItsArgumentsAndCleansUp) {
  const QString show = Build(ShowKind::SlideShow, "Trip");
  const Launch run = Play(show, {"/s", "two words", ""});
  EXPECT_EQ(ExitCode(run), 0) << Errors().toStdString();

  const QStringList recorded = RecordedArguments();
  ASSERT_EQ(recorded.size(), 6) << recorded.join('|').toStdString();
  const QString folder = recorded[4] + "/";
  EXPECT_TRUE(folder.startsWith(Temporary() + "brivane-show-")) << folder.toStdString();
  EXPECT_EQ(recorded[0], folder + "pavonel.exe");
  EXPECT_EQ(recorded.mid(1, 3), QStringList({"[/s]", "[two words]", "[]"}));
  EXPECT_EQ(recorded[5], "700");
  // No XDG_RUNTIME_DIR here: the player keeps its runtime files inside the private folder.
  EXPECT_EQ(RecordedRuntime(), QStringList({folder + ".runtime", "700"}));

  const QString files = Record() + "files/";
  QStringList extracted = QDir(files).entryList(QDir::Files);
  EXPECT_EQ(extracted, QStringList({"lfcmp10n.dll", "ltdis10n.dll", "ltfil10n.dll", "ltkrn10n.dll",
                                    "pavonel.exe", "photo0.jpg", "photo1.jpg", "photo2.jpg"}));
  EXPECT_EQ(ReadAll(files + "pavonel.exe"), ReadAll(Programs() + "pavonel"));
  EXPECT_EQ(ReadAll(files + "ltkrn10n.dll"), ReadAll(Programs() + "ltkrn10n.dll"));
  EXPECT_EQ(ReadAll(files + "lfcmp10n.dll"), ReadAll(Programs() + "lfcmp10n.dll"));
  EXPECT_EQ(ReadAll(files + "photo0.jpg"), ReadAll(Photos() + "Beach.jpg"));
  EXPECT_EQ(ReadAll(files + "photo1.jpg"), ReadAll(Photos() + "Dog.jpg"));
  EXPECT_EQ(ReadAll(files + "photo2.jpg"), ReadAll(Photos() + "Sunset.jpg"));
  EXPECT_TRUE(TemporaryIsEmpty());
}

TEST_F(LauncherTest, ThePlayerGetsTheSessionsRuntimeFolderOnlyWhenItIsFitForIt) {
  const QString show = Build(ShowKind::SlideShow, "Trip", {"Dog"});
  const QString fit = dir.path() + "/run-fit";
  const QString open = dir.path() + "/run-open";
  const QString file = dir.path() + "/run-file";
  const QString link = dir.path() + "/run-link";
  QDir().mkpath(fit);
  QDir().mkpath(open);
  QFile::setPermissions(fit, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  QFile::setPermissions(open, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                  QFile::ReadOther | QFile::ExeOther);
  Write(file, "not a folder");
  QFile::link(fit, link);

  EXPECT_EQ(ExitCode(Play(show, {}, {}, {"XDG_RUNTIME_DIR=" + QFile::encodeName(fit)})), 0);
  EXPECT_EQ(RecordedRuntime(), QStringList({fit, "700"}));

  // Anything Qt would refuse, or make in a place that outlives the show, is replaced.
  const QStringList unfit = {open, file, link, dir.path() + "/run-missing", "relative/run", ""};
  for (const QString& runtime : unfit) {
    const Launch run = Play(show, {}, {}, {"XDG_RUNTIME_DIR=" + QFile::encodeName(runtime)});
    EXPECT_EQ(ExitCode(run), 0) << Errors().toStdString();
    const QStringList recorded = RecordedRuntime();
    ASSERT_EQ(recorded.size(), 2) << runtime.toStdString();
    EXPECT_TRUE(recorded[0].startsWith(Temporary() + "brivane-show-")) << recorded[0].toStdString();
    EXPECT_TRUE(recorded[0].endsWith("/.runtime"));
    EXPECT_EQ(recorded[1], "700");
    EXPECT_TRUE(TemporaryIsEmpty()) << runtime.toStdString();
  }
  EXPECT_FALSE(QFileInfo::exists(dir.path() + "/run-missing"));
}

TEST_F(LauncherTest, AScreenSaverNamesItsPlayerAfterTheShowAsSpelled) {
  const QString built = Build(ShowKind::ScreenSaver, "Holiday", {"Dog"});
  const QString show = Shows() + "Holiday.SCR";
  ASSERT_TRUE(QFile::rename(built, show));
  EXPECT_EQ(ExitCode(Play(show, {"/s"})), 0) << Errors().toStdString();
  QStringList recorded = RecordedArguments();
  ASSERT_GE(recorded.size(), 2);
  EXPECT_TRUE(recorded[0].endsWith("/Holiday.exe")) << recorded[0].toStdString();
  EXPECT_EQ(recorded[1], "[/s]");
  EXPECT_EQ(QDir(Record() + "files/").entryList(QDir::Files),
            QStringList({"Holiday.exe", "lfcmp10n.dll", "ltdis10n.dll", "ltefx10n.dll",
                         "ltfil10n.dll", "ltkrn10n.dll", "photo0.jpg"}));
  EXPECT_EQ(ReadAll(Record() + "files/ltefx10n.dll"), ReadAll(Programs() + "ltefx10n.dll"));
  EXPECT_TRUE(TemporaryIsEmpty());
}

TEST_F(LauncherTest, AStartByAnotherSpellingStillReadsTheShowItself) {
  const QString show = Build(ShowKind::SlideShow, "Trip", {"Sunset"});
  // Typed without its extension.
  EXPECT_EQ(ExitCode(Play(show, {}, Shows() + "Trip")), 0);
  EXPECT_EQ(ReadAll(Record() + "files/photo0.jpg"), ReadAll(Photos() + "Sunset.jpg"));
  QDir(Record() + "files").removeRecursively();

  // A first argument naming some other file, or nothing usable: the running file is read.
  Write(Shows() + "Other.exe", "not a show");
  for (const QString& argv0 : {Shows() + "Other.exe", QString("nowhere"), Shows() + "Other"}) {
    EXPECT_EQ(ExitCode(Play(show, {"/c"}, argv0)), 0)
        << argv0.toStdString() << Errors().toStdString();
    EXPECT_EQ(ReadAll(Record() + "files/photo0.jpg"), ReadAll(Photos() + "Sunset.jpg"));
    EXPECT_EQ(RecordedArguments().value(1), "[/c]");
    QDir(Record() + "files").removeRecursively();
  }
  EXPECT_TRUE(TemporaryIsEmpty());
}

TEST_F(LauncherTest, ADamagedShowIsRefusedAndNothingIsExtracted) {
  const QByteArray head = ReadAll(Programs() + "mirrant");
  const qint32 start = static_cast<qint32>(head.size());
  const QByteArray pieces(500, 'p');
  const QByteArray good =
      head + pieces +
      Integers({start, start + 100, start + 200, start + 300, start + 400, 0, start + 450, 1});
  struct Case {
    const char* Name;
    QByteArray Bytes;
  };
  const QList<Case> cases = {
      {"the bare launcher", head},
      {"a count beyond the file",
       head + pieces + Integers({start, start, start, start, start, 0, 100000000})},
      {"a negative count", head + pieces + Integers({start, start, start, start, start, 0, -1})},
      {"a photo beyond the pieces",
       head + pieces + Integers({start, start, start, start, start, 0, start + 501, 1})},
      {"a negative offset",
       head + pieces + Integers({-5, start, start, start, start, 0, start, 1})},
      {"decreasing offsets", head + pieces +
                                 Integers({start, start + 200, start + 100, start + 300,
                                           start + 400, 0, start + 450, 1})},
      {"an effects module before the last library",
       head + pieces +
           Integers({start, start + 100, start + 200, start + 300, start + 400, start + 50,
                     start + 450, 1})},
  };
  for (const Case& damaged : cases) {
    const QString show = Shows() + "Damaged.exe";
    Write(show, damaged.Bytes, true);
    const Launch run = Play(show, {});
    EXPECT_NE(ExitCode(run), 0) << damaged.Name;
    EXPECT_TRUE(Errors().contains("This show file is damaged.")) << damaged.Name;
    EXPECT_FALSE(QFile::exists(Record() + "args")) << damaged.Name;
    EXPECT_TRUE(TemporaryIsEmpty()) << damaged.Name;
  }

  // The same layout intact: extracted, then the player cannot start (it is not a program).
  Write(Shows() + "Intact.exe", good, true);
  EXPECT_NE(ExitCode(Play(Shows() + "Intact.exe", {})), 0);
  EXPECT_TRUE(Errors().contains("/pavonel.exe)")) << Errors().toStdString();

  // No photos at all: the last library ends at the trailer.
  Write(Programs() + "pavonel", "#!/bin/sh\nls > '" + QFile::encodeName(Record()) + "args'\n",
        true);
  const QByteArray player = ReadAll(Programs() + "pavonel");
  const qint32 library = start + static_cast<qint32>(player.size());
  Write(Shows() + "Empty.exe",
        head + player + "lib" + Integers({start, library, library, library, library, 0, 0}), true);
  EXPECT_EQ(ExitCode(Play(Shows() + "Empty.exe", {})), 0) << Errors().toStdString();
  EXPECT_EQ(RecordedArguments(), QStringList({"lfcmp10n.dll", "ltdis10n.dll", "ltfil10n.dll",
                                              "ltkrn10n.dll", "pavonel.exe"}));
  EXPECT_TRUE(TemporaryIsEmpty());
}

TEST_F(LauncherTest, APlayerThatCannotStartIsNamedInTheMessage) {
  QFile::remove(Programs() + "pavonel");
  const QString show = Build(ShowKind::SlideShow, "Trip", {"Dog"});
  const Launch run = Play(show, {"/s"});
  EXPECT_NE(ExitCode(run), 0);
  const QString errors = Errors();
  EXPECT_TRUE(errors.contains(" (" + Temporary() + "brivane-show-")) << errors.toStdString();
  EXPECT_TRUE(errors.trimmed().endsWith("/pavonel.exe)")) << errors.toStdString();
  EXPECT_TRUE(TemporaryIsEmpty());

  // With a display, the same message in a desktop box as well.
  const QString tools = dir.path() + "/tools/";
  QDir().mkpath(tools);
  Write(tools + "zenity",
        "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" +
            QFile::encodeName(Record()) + "box'\n",
        true);
  const QByteArray path = "PATH=" + QFile::encodeName(tools) + ":/usr/bin:/bin";
  EXPECT_NE(ExitCode(Play(show, {}, {}, {"DISPLAY=:99", path})), 0);
  const QStringList box =
      QString::fromUtf8(ReadAll(Record() + "box")).split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(box.size(), 4) << box.join('|').toStdString();
  EXPECT_EQ(box.mid(0, 3), QStringList({"--error", "--title=Brivane", "--no-markup"}));
  EXPECT_EQ(box[3], "--text=" + Errors().trimmed());
  EXPECT_TRUE(TemporaryIsEmpty());
}

TEST_F(LauncherTest, AnInterruptedLauncherStopsThePlayerAndStillCleansUp) {
  const QByteArray record = QFile::encodeName(Record());
  Write(Programs() + "pavonel",
        "#!/bin/sh\necho $$ > '" + record + "pid.part' && mv '" + record + "pid.part' '" + record +
            "pid'\nexec sleep 30\n",
        true);
  const QString show = Build(ShowKind::SlideShow, "Trip");
  Launch run = Start(show, {});
  for (int i = 0; i < 1000 && !QFile::exists(Record() + "pid"); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  ASSERT_TRUE(QFile::exists(Record() + "pid"));
  const pid_t player = ReadAll(Record() + "pid").trimmed().toInt();
  ASSERT_GT(player, 0);
  ASSERT_EQ(kill(run.Pid, SIGTERM), 0);
  Wait(run);
  EXPECT_TRUE(WIFSIGNALED(run.Status) && WTERMSIG(run.Status) == SIGTERM);
  EXPECT_NE(kill(player, 0), 0);  // the player ended and was reaped
  EXPECT_TRUE(TemporaryIsEmpty());
}

// The whole way, as a user goes it: the real players and modules of the build, a show
// copied to another folder and started there, ending by itself.
TEST_F(LauncherTest, ARealSlideShowPlaysFromAnotherFolderAndLeavesNothing) {
  const QString built = QString(BRIVANE_PROGRAM_DIR);
  for (const char* file : {"pavonel", "lfcmp10n.dll", "ltdis10n.dll", "ltfil10n.dll", "ltkrn10n.dll"}) {
    QFile::remove(Programs() + file);
    ASSERT_TRUE(QFile::copy(built + file, Programs() + file)) << file;
  }
  for (const QString stem : {"Beach", "Dog"}) {
    QImage photo(320, 240, QImage::Format_RGB32);
    photo.fill(stem == "Beach" ? qRgb(240, 200, 120) : qRgb(60, 90, 200));
    ASSERT_TRUE(photo.save(Photos() + stem + ".jpg", "JPG"));
  }
  const QString show = Build(ShowKind::SlideShow, "Holiday", {"Beach", "Dog"});
  const QString elsewhere = dir.path() + "/elsewhere/Copy of Holiday.exe";
  QDir().mkpath(dir.path() + "/elsewhere");
  ASSERT_TRUE(QFile::copy(show, elsewhere));

  // Started where the session names no runtime folder, as from a bare cron job or su.
  const QString screenshot = dir.path() + "/shown.png";
  const Launch run = Play(elsewhere, {}, {},
                          {"QT_QPA_PLATFORM=offscreen", "BRIVANE_PLAYER_EXIT_AFTER_MS=800",
                           "BRIVANE_PLAYER_SCREENSHOT=" + QFile::encodeName(screenshot),
                           // Under the sanitizers: Qt's process-lifetime caches are no leak of ours.
                           "ASAN_OPTIONS=detect_leaks=0"});
  EXPECT_EQ(ExitCode(run), 0) << Errors().toStdString();
  EXPECT_TRUE(TemporaryIsEmpty())
      << QDir(Temporary()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)
             .join(' ')
             .toStdString();
  EXPECT_FALSE(Errors().contains("XDG_RUNTIME_DIR")) << Errors().toStdString();
  const QImage shown(screenshot);
  ASSERT_FALSE(shown.isNull());
  // The first photo fills the middle of the screen.
  EXPECT_EQ(QColor(shown.pixel(shown.width() / 2, shown.height() / 2)).red() > 200, true);
}
