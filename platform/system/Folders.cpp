#include "system/Folders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "system/AtomicFile.h"

namespace {
// A relative override is made absolute, so no path built from it depends on a later
// change of the current directory.
QString FromEnvironment(const char* variable) {
  const QString folder = QString::fromLocal8Bit(qgetenv(variable));
  if (folder.isEmpty()) return folder;
  return WithTrailingSlash(QDir(folder).absolutePath());
}

QString XdgFolder(const char* variable, const char* homeRelative) {
  QString base = QString::fromLocal8Bit(qgetenv(variable));
  if (base.isEmpty()) base = QDir::homePath() + "/" + homeRelative;
  return WithTrailingSlash(base) + "brivane/";
}
}  // namespace

QString WithTrailingSlash(const QString& folder) {
  if (folder.isEmpty() || folder.endsWith('/')) return folder;
  return folder + '/';
}

QString GetProgramFolder() {
  if (QString overridden = FromEnvironment("BRIVANE_PROGRAM_FOLDER"); !overridden.isEmpty())
    return overridden;
  // /proc/self/exe is the executable itself, whatever path or link it was started by.
  QString executable = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
  if (executable.isEmpty() && QCoreApplication::instance())
    executable = QCoreApplication::applicationFilePath();
  // Without either the program folder is unknown; the current directory would be a guess
  // that scatters user data wherever the program happened to be started.
  if (executable.isEmpty()) return {};
  return WithTrailingSlash(QFileInfo(executable).absolutePath());
}

QString GetUserDataFolder() {
  const QString program = GetProgramFolder();
  if (!program.isEmpty() && QFileInfo::exists(program + kInstalledMarker))
    return XdgFolder("XDG_DATA_HOME", ".local/share");
  return program;
}

QString GetMyPhotosFolder() { return GetUserDataFolder() + "myphotos/"; }

bool MakeMyPhotosFolder() {
  return MakePrivateFolder(GetUserDataFolder()) && QDir().mkpath(GetMyPhotosFolder());
}
QString GetFramesFolder() { return GetProgramFolder() + "frames/"; }
QString GetEdgesFolder() { return GetProgramFolder() + "edges/"; }
QString GetSportsCardFolder() { return GetProgramFolder() + "sportscard/"; }
QString GetMagazineFolder() { return GetProgramFolder() + "magazine/"; }
QString GetGreetingCardFolder() { return GetProgramFolder() + "greetingcard/"; }

QString GetWindowsFolder() {
  if (QString overridden = FromEnvironment("BRIVANE_WINDOWS_FOLDER"); !overridden.isEmpty())
    return overridden;
  return XdgFolder("XDG_CONFIG_HOME", ".config");
}

QString GetSystemFolder() {
  if (QString overridden = FromEnvironment("BRIVANE_SYSTEM_FOLDER"); !overridden.isEmpty())
    return overridden;
  return XdgFolder("XDG_DATA_HOME", ".local/share");
}
