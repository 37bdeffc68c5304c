#include "system/Folders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {
QString FromEnvironment(const char* variable) {
  return WithTrailingSlash(QString::fromLocal8Bit(qgetenv(variable)));
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
  const QString executable = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
  return WithTrailingSlash(QFileInfo(executable).absolutePath());
}

QString GetMyPhotosFolder() { return GetProgramFolder() + "myphotos/"; }
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
