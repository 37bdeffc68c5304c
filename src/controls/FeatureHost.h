#pragma once

#include <QString>

#include "controls/MainTab.h"

class BackgroundRunner;
class InternetSession;
class PhotoListModel;
class PhotoStore;
class ProgramRunner;
class Prompter;
class QAction;
class QPoint;
class QWidget;
class RegistryStore;
class Settings;
struct ImageBitmap;

// What the features get from the main window, which implements it: the working picture,
// the settings, the photo store and its list, and the services made once at start-up.
// Everything it hands out lives as long as the main window.
class FeatureHost {
 public:
  virtual ~FeatureHost() = default;

  // The parent of the features' dialogs.
  virtual QWidget* hostWindow() = 0;
  // The picture a command works on; it is empty between commands.
  virtual ImageBitmap& workingPicture() = 0;
  virtual Settings& settings() = 0;
  virtual PhotoStore& photoStore() = 0;
  // The My Photos list, kept in line with the folder.
  virtual PhotoListModel& photoList() = 0;
  virtual Prompter& prompter() = 0;
  virtual ProgramRunner& programRunner() = 0;
  virtual RegistryStore& registry() = 0;
  // The one runner for work that may take longer than a tenth of a second.
  virtual BackgroundRunner& backgroundRunner() = 0;
  // Shows a picture full size, titled with its name ("" for none), over the active window.
  virtual void viewFullSize(const ImageBitmap& picture, const QString& name) = 0;
  virtual void showTab(MainTab tab) = 0;
  // The menu, toolbar and pop-up action of a command, or null.
  virtual QAction* commandAction(int command) const = 0;
  // Carries out a command as its menu item would.
  virtual void runCommand(int command) = 0;
  // The photo picked last in "Pick a Photo", for this run ("" before the first pick).
  virtual QString& lastPickedPhoto() = 0;
  // Opens a pop-up menu of the window's (184: the photo pop-up) at a screen position.
  virtual void popupMenu(int menuId, const QPoint& globalPos) = 0;
  // The program's internet session with its one cached service connection, opened when
  // first asked for and kept as long as the window; null when it cannot be opened.
  virtual InternetSession* internetSession() = 0;
};
