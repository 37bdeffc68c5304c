#include <gtest/gtest.h>

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

namespace {
// Runs the probe through a shell so that it starts the way a user starts a program, and
// returns what it printed.
QString RunProbe(const QString& command, const QString& workingFolder, const QString& path) {
  QProcess process;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.remove("BRIVANE_PROGRAM_FOLDER");
  environment.insert("PATH", path);
  process.setProcessEnvironment(environment);
  process.setWorkingDirectory(workingFolder);
  process.start("/bin/sh", {"-c", command});
  process.waitForFinished(10000);
  return QString::fromUtf8(process.readAllStandardOutput());
}
}  // namespace

TEST(ProgramFolder, IsTheRealFolderOfTheProgramHoweverItWasStarted) {
  const QString probe = QString::fromUtf8(PROGRAM_FOLDER_PROBE);
  const QString realFolder = QFileInfo(probe).canonicalPath() + "/";
  QTemporaryDir links;
  QTemporaryDir elsewhere;
  ASSERT_TRUE(QFile::link(probe, links.filePath("quendal")));

  // Through a symbolic link, from another current directory.
  EXPECT_EQ(RunProbe(links.filePath("quendal"), elsewhere.path(), "/usr/bin:/bin"), realFolder);
  // Through PATH, with no folder in the command: never the current directory.
  EXPECT_EQ(RunProbe("quendal", elsewhere.path(), links.path() + ":/usr/bin:/bin"), realFolder);
  // Through a relative path.
  EXPECT_EQ(RunProbe("./quendal", links.path(), "/usr/bin:/bin"), realFolder);
}
