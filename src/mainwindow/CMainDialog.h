#pragma once

#include <memory>

#include <QHash>
#include <QMainWindow>

#include "krn/ImageBitmap.h"
#include "library/PhotoStore.h"
#include "library/Settings.h"
#include "mainwindow/CommandState.h"
#include "mainwindow/DropImportPlan.h"
#include "mainwindow/MainWindowServices.h"
#include "system/SemaphoreRegistry.h"

class CGetPhotoWizard;
class CHelpWindow;
class PhotoScanner;
class CMainTabControl;
class CPictureListBox;
class ThumbnailWatcher;
class DropImportJob;
class PhotoListModel;
class PhotoStoreCommands;
class SinglePhotoCommands;
class Prompter;
class QAction;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QProgressDialog;
class QToolBar;

// The program's one top-level window: menus, toolbar, the instructions at the left and
// the five main tabs. It owns the settings read at its start and the working bitmap, and
// dispatches every command by id. Its destruction tells the thumbnail watcher to stop
// and writes the view settings.
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
  // The action of a command (menu, toolbar and pop-up share it), or null.
  QAction* commandAction(int command) const;

  MainTab currentTab() const;
  void setCurrentTab(MainTab tab);
  CommandState commandState() const;
  // Applies the enable rules to every action; runs on every change of tab or selection.
  void updateCommandStates();

  PhotoListModel& photoModel() const { return *m_photos; }
  PhotoListModel& funModel() const { return *m_fun; }
  CPictureListBox* photoList() const { return m_photoList; }
  CPictureListBox* funList() const { return m_funList; }
  // The photo-list entry's stem, or "" when none is selected.
  QString selectedStem() const;
  // The thumbnail watcher that keeps the photo list; null without semaphores.
  ThumbnailWatcher* watcher() const { return m_watcher.get(); }
  QMenu* photoPopup() const { return m_photoPopup; }
  QLabel* hint() const { return m_hint; }
  // View, Print, Save Picture As, Set as Wallpaper and Copy to Clipboard of My Photos.
  SinglePhotoCommands& photoOutput() const { return *m_photoOutput; }
  // The hint for the photo-list entry under the cursor (row -1: none), at `pos` in the list.
  void showPhotoHint(int row, QPoint pos);

 signals:
  // The watcher's first listing of the folder is in the photo list.
  void photoListFilled();

 public:

  // Imports dropped files as a drop does. A drop of several files runs behind a progress
  // dialog; importFinished follows in every case.
  void importFiles(const QStringList& files);
  bool isImporting() const { return m_import != nullptr; }
  QProgressDialog* importProgress() const { return m_progress; }

 signals:
  // The user closed the window (File > Exit or the title bar).
  void closed();
  void importFinished(int imported, bool cancelled);
  // Get a New Photo has built its wizard and is about to run it (tests drive it from here).
  void getPhotoWizardOpened(CGetPhotoWizard* wizard);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void createActions();
  void createMenus();
  void createToolbar();
  void createContent();
  QWidget* addControl(QWidget* control, int id);
  void layoutContent();
  void showTabControls();
  void runPreferences();
  void openHelp(int topic);
  void runView();
  void runGetPhoto();
  void onPhotoListKey(int key);
  void onPhotoListRightClick(int row, QPoint globalPos);
  void startFunActivity(int row);
  TakenChoice askTakenName(const QString& name);
  void onImportDone(int imported, bool cancelled);

  MainWindowServices m_services;
  Settings m_settings;
  SemaphoreRegistry::Handle m_stopSemaphore;
  CHelpWindow* m_helpWindow = nullptr;
  ImageBitmap m_working;
  PhotoStore m_store;
  std::unique_ptr<PhotoStoreCommands> m_storeCommands;
  std::unique_ptr<SinglePhotoCommands> m_photoOutput;
  std::unique_ptr<PhotoScanner> m_scanner;

  QHash<int, QAction*> m_actions;
  QMenu* m_photoPopup = nullptr;
  QToolBar* m_toolbar = nullptr;
  QWidget* m_content = nullptr;
  CMainTabControl* m_tabs = nullptr;
  QPlainTextEdit* m_instructions = nullptr;
  QHash<int, QWidget*> m_controls;
  PhotoListModel* m_photos = nullptr;
  PhotoListModel* m_fun = nullptr;
  CPictureListBox* m_photoList = nullptr;
  CPictureListBox* m_funList = nullptr;
  QLabel* m_hint = nullptr;
  std::unique_ptr<ThumbnailWatcher> m_watcher;
  DropImportJob* m_import = nullptr;
  QProgressDialog* m_progress = nullptr;
};
