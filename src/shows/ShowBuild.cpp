#include "shows/ShowBuild.h"

#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "library/PhotoNames.h"
#include "shows/ShowFileWriter.h"
#include "shows/XScreenSaverEntry.h"
#include "system/Folders.h"
#include "system/RegistryStore.h"

namespace {
constexpr char kDesktopKey[] = "Control Panel\\Desktop";

ShowBuildResult Failed(ShowBuildResult result, int code, const QString& error) {
  result.Result = code;
  result.Error = error;
  return result;
}

QString NameProblem(const QString& name) {
  if (!HasVisibleCharacter(name)) return QStringLiteral("the show has no name");
  // A line break in a file name breaks every list and script that shows it.
  const bool controls = std::any_of(name.begin(), name.end(), [](QChar c) {
    return c.category() == QChar::Other_Control;
  });
  if (controls || !name.isValidUtf16())
    return QStringLiteral("a show name cannot hold line breaks or other control characters");
  if (name.contains(QLatin1Char('/')) || name.contains(QChar(0)) || name == QLatin1String(".") ||
      name == QLatin1String(".."))
    return QStringLiteral("the name '%1' cannot be a file name in the folder").arg(name);
  return {};
}
}  // namespace

ShowBuildResult BuildShow(const ShowBuildRequest& request, RegistryStore* registry) {
  const bool screenSaver = request.Kind == ShowKind::ScreenSaver;
  const QString name = request.Name.trimmed();
  const QString folder = WithTrailingSlash(request.Folder);
  ShowBuildResult result;
  if (const QString problem = NameProblem(name); !problem.isEmpty())
    return Failed(result, kShowBadRequest, problem);
  if (folder.isEmpty() || folder.contains(QChar(0)))
    return Failed(result, kShowBadRequest, QStringLiteral("no folder to save the show in"));
  if (request.PhotoStems.isEmpty())
    return Failed(result, kShowBadRequest, QStringLiteral("no photos were chosen"));
  result.Target = folder + name + (screenSaver ? QStringLiteral(".scr") : QStringLiteral(".exe"));

  // A screen saver's default home may not exist yet on a fresh system.
  if (!QDir().mkpath(folder))
    return Failed(result, kShowWriteFailed,
                  QStringLiteral("cannot create the folder '%1'").arg(folder));
  QTemporaryFile file(folder + QStringLiteral(".show-XXXXXX.part"));
  if (!file.open())
    return Failed(result, kShowWriteFailed,
                  QStringLiteral("cannot write in '%1': %2").arg(folder, file.errorString()));

  const QString& programs = request.ProgramFolder;
  ShowFileWriter writer(file);
  if (!writer.WriteHead(programs + QStringLiteral("mirrant")))
    return Failed(result, kShowNoLauncher, writer.Error());

  QStringList pieces = {programs +
                        (screenSaver ? QStringLiteral("corilan") : QStringLiteral("pavonel"))};
  for (const char* module : {"lfcmp10n.dll", "ltdis10n.dll", "ltfil10n.dll", "ltkrn10n.dll"})
    pieces << programs + QLatin1String(module);
  if (screenSaver) pieces << programs + QStringLiteral("ltefx10n.dll");
  result.Header = QList<qint32>(6, 0);
  for (qsizetype i = 0; i < pieces.size(); ++i)
    if (!writer.Append(pieces[i], result.Header[i])) break;
  for (const QString& stem : request.PhotoStems) {
    if (!writer.Error().isEmpty()) break;
    qint32 offset = 0;
    if (writer.Append(request.PhotoFolder + stem + QStringLiteral(".jpg"), offset))
      result.PhotoOffsets << offset;
  }
  if (writer.Error().isEmpty()) writer.WriteTrailer(result.Header, result.PhotoOffsets);
  if (!writer.Error().isEmpty())
    return Failed(result, writer.TooLarge() ? kShowTooLarge : kShowWriteFailed, writer.Error());

  // Runnable by everyone who can read it, like the program it is.
  file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                      QFileDevice::ReadGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther |
                      QFileDevice::ExeOther);
  if (fsync(file.handle()) != 0 || std::rename(QFile::encodeName(file.fileName()).constData(),
                                               QFile::encodeName(result.Target).constData()) != 0)
    return Failed(result, kShowWriteFailed,
                  QStringLiteral("cannot write '%1': %2")
                      .arg(result.Target, QString::fromLocal8Bit(std::strerror(errno))));
  file.setAutoRemove(false);
  file.close();

  if (screenSaver && request.UseAsScreenSaver && registry) {
    if (!registry->setValue(QLatin1String(kDesktopKey), QStringLiteral("SCRNSAVE.EXE"),
                            result.Target) ||
        !registry->setValue(QLatin1String(kDesktopKey), QStringLiteral("ScreenSaveActive"),
                            QStringLiteral("1")))
      return Failed(
          result, kShowRegistryFailed,
          QStringLiteral("the screen saver was saved but could not be made the active one"));
    QString error;
    if (!request.XScreenSaverFile.isEmpty() &&
        !AddXScreenSaverEntry(request.XScreenSaverFile, QFileInfo(result.Target).completeBaseName(), result.Target,
                              &error))
      return Failed(result, kShowRegistryFailed,
                    QStringLiteral("the screen saver was saved but could not be added to %1: %2")
                        .arg(request.XScreenSaverFile, error));
  }
  result.Result = kShowBuilt;
  return result;
}
