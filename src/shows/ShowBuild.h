#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "shows/ShowKind.h"

class RegistryStore;

struct ShowBuildRequest {
  ShowKind Kind = ShowKind::SlideShow;
  QString ProgramFolder;   // ending "/": holds mirrant, pavonel, corilan and the modules
  QString PhotoFolder;     // the My Photos folder, ending "/"
  QStringList PhotoStems;  // file names without ".jpg" as on disk, in show order; repeats allowed
  QString Name;            // the show's name as typed (trimmed by the builder)
  QString Folder;          // target folder, ending "/"
  bool UseAsScreenSaver = false;
  // With UseAsScreenSaver: the user's ~/.xscreensaver, where the screen saver becomes
  // xscreensaver's selected one too; "" leaves xscreensaver alone.
  QString XScreenSaverFile;
};

// Result codes of BuildShow.
enum ShowBuildCode {
  kShowBuilt = 1,
  kShowBadRequest = -1,      // no photos, or a name or folder that cannot name a file
  kShowNoLauncher = -2,      // mirrant cannot be read from the program folder
  kShowTooLarge = -3,        // offsets would not fit the format's 32-bit integers
  kShowWriteFailed = -4,     // the target folder or file cannot be written
  kShowRegistryFailed = -5,  // the show was built, the screen-saver values were not set
};

struct ShowBuildResult {
  int Result = 0;        // kShowBuilt, or a negative ShowBuildCode
  QString Target;        // Folder + Name + ".exe" (slide show) or ".scr" (screen saver)
  QList<qint32> Header;  // the six header offsets as written
  QList<qint32> PhotoOffsets;
  QString Error;  // human-readable reason when it failed
};

// Builds the show file; with UseAsScreenSaver (screen savers only) sets "SCRNSAVE.EXE" =
// target path and "ScreenSaveActive" = "1" under "Control Panel\\Desktop" in the registry
// store, and makes it xscreensaver's selected screen saver (XScreenSaverFile). The file is written beside the target and moved into place only when complete, so
// a failed build leaves any earlier show of that name as it was.
ShowBuildResult BuildShow(const ShowBuildRequest& request, RegistryStore* registry);
