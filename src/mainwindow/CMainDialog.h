#pragma once

#include <QMainWindow>

#include "library/Settings.h"
#include "mainwindow/MainWindowServices.h"
#include "system/SemaphoreRegistry.h"

class CHelpWindow;
class Prompter;
class QAction;
class QMenu;

// The program's one top-level window. It owns the settings read at its start and
// dispatches every menu command by id. Its destruction tells the thumbnail watcher to
// stop and writes the view settings.
class CMainDialog : public QMainWindow {
  Q_OBJECT

 public:
  // Reads the settings and makes the My Photos folder exist.
  explicit CMainDialog(MainWindowServices services, QWidget* parent = nullptr);
  ~CMainDialog() override;

  Settings& settings() { return m_settings; }
  const Settings& settings() const { return m_settings; }
  Prompter& prompter() const { return *m_services.prompter; }

  // Carries out the command; false for an id this window does not know.
  bool onCommand(int command);
  // The menu action of a command, or null.
  QAction* commandAction(int command) const;

 signals:
  // The user closed the window (File > Exit or the title bar).
  void closed();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void createMenus();
  QAction* addCommand(QMenu* menu, int command, const QString& text);
  void runPreferences();
  void openHelp(int topic);

  MainWindowServices m_services;
  Settings m_settings;
  SemaphoreRegistry::Handle m_stopSemaphore;
  CHelpWindow* m_helpWindow = nullptr;
};
