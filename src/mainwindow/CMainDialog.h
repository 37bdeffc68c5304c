#pragma once

#include <array>
#include <memory>

#include <QHash>
#include <QMainWindow>

#include "controls/CommandState.h"
#include "controls/FeatureHost.h"
#include "krn/ImageBitmap.h"
#include "labels/LabelTemplates.h"
#include "library/PhotoStore.h"
#include "library/Settings.h"
#include "mainwindow/MainWindowServices.h"

class BackgroundRunner;
class CDropImporter;
class CFunPage;
class CGetPhotoWizard;
class CHelpWindow;
class CMainTabControl;
class CMyPhotosPage;
class CPrintLabelsPage;
class CPublishPage;
class CPhotoAlbumsPage;
class QDialog;
class CTabPage;
class PhotoScanner;
class QAction;
class QMenu;
class QPlainTextEdit;
class QProgressDialog;
class QPushButton;
class QToolBar;
struct TabPageFrame;

// The program's one top-level window, and the frame of the features: menus, toolbar,
// the instructions at the left and the five main tabs, each a tab page of its feature.
// It owns the settings read at its start, the photo store and the working bitmap, and
// hands them with the application's services to the features (FeatureHost). Commands
// of the frame it carries out itself; the others go to the current tab's page.
class CMainDialog : public QMainWindow, public FeatureHost {
  Q_OBJECT

 public:
  // Reads the settings and makes the My Photos folder exist.
  explicit CMainDialog(MainWindowServices services, QWidget* parent = nullptr);
  ~CMainDialog() override;

  const Settings& settings() const { return m_settings; }

  // Carries out the command; false for an id this window does not know.
  bool onCommand(int command);

  MainTab currentTab() const;
  void setCurrentTab(MainTab tab);
  CTabPage* page(MainTab tab) const { return m_pages[size_t(tab)]; }
  CMyPhotosPage& myPhotos() const { return *m_myPhotos; }
  CFunPage& fun() const { return *m_fun; }
  CPrintLabelsPage& printLabels() const { return *m_printLabels; }
  CPhotoAlbumsPage& photoAlbums() const { return *m_photoAlbums; }
  LabelTemplateList& labelTemplates() { return m_templates; }
  CommandState commandState() const;
  // Applies the enable rules to every action; runs on every change of tab or selection.
  void updateCommandStates();
  QMenu* photoPopup() const { return m_photoPopup; }

  // Imports dropped files as a drop does; importFinished follows in every case.
  void importFiles(const QStringList& files);
  bool isImporting() const;
  // The progress box of the running import of several files, or null.
  QProgressDialog* importProgress() const;

  // FeatureHost
  QWidget* hostWindow() override { return this; }
  ImageBitmap& workingPicture() override { return m_working; }
  Settings& settings() override { return m_settings; }
  PhotoStore& photoStore() override { return m_store; }
  PhotoListModel& photoList() override;
  Prompter& prompter() override { return *m_services.prompter; }
  ProgramRunner& programRunner() override { return *m_services.programRunner; }
  RegistryStore& registry() override { return *m_services.registry; }
  BackgroundRunner& backgroundRunner() override { return *m_runner; }
  void viewFullSize(const ImageBitmap& picture, const QString& name) override;
  void showTab(MainTab tab) override { setCurrentTab(tab); }
  QAction* commandAction(int command) const override { return m_actions.value(command); }
  void popupMenu(int menuId, const QPoint& globalPos) override;
  void runCommand(int command) override { onCommand(command); }
  QString& lastPickedPhoto() override { return m_lastPickedPhoto; }
  InternetSession* internetSession() override;

 signals:
  // The user closed the window (File > Exit or the title bar).
  void closed();
  void importFinished(int imported, bool cancelled);
  // Get a New Photo has built its wizard and is about to run it (tests drive it from here).
  void getPhotoWizardOpened(CGetPhotoWizard* wizard);
  // An editing command (Enhance, Crop, Frame) has built its dialog and is about to run it.
  void editingDialogOpened(QDialog* dialog);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  // The photo-sharing service's site name, which a Help menu entry shows.
  QString serviceSiteName() const;
  void createActions();
  void createMenus();
  void createToolbar();
  void createContent();
  void createPages();
  void layoutContent();
  void showCurrentTab();
  void runPreferences();
  void openHelp(int topic);
  void runGetPhoto();
  // Runs the editing dialog on the picture the current tab hands over for the command.
  template <class Dialog>
  void runEditing(int command);
  // The fun-projects wizard of a Photo > Fun command, on a copy of the current photo.
  void runFunProject(int command);

  MainWindowServices m_services;
  std::unique_ptr<RegistryStore> m_ownRegistry;
  std::unique_ptr<ProgramRunner> m_ownProgramRunner;
  std::unique_ptr<PhotoScanner> m_ownScanner;
  Settings m_settings;
  ImageBitmap m_working;
  // Read once at start; the label sheet and album pages are laid out by them.
  LabelTemplateList m_templates;
  PhotoStore m_store;
  // Declared after what the work uses, so it stops and joins its workers first.
  std::unique_ptr<BackgroundRunner> m_runner;
  std::unique_ptr<InternetSession> m_internet;
  CHelpWindow* m_helpWindow = nullptr;

  QHash<int, QAction*> m_actions;
  QMenu* m_photoPopup = nullptr;
  QToolBar* m_toolbar = nullptr;
  QWidget* m_content = nullptr;
  CMainTabControl* m_tabs = nullptr;
  QWidget* m_instructionsCaption = nullptr;
  QPlainTextEdit* m_instructions = nullptr;
  QPushButton* m_pickPhoto = nullptr;
  std::array<CTabPage*, kMainTabCount> m_pages{};
  CMyPhotosPage* m_myPhotos = nullptr;
  CFunPage* m_fun = nullptr;
  CPublishPage* m_publish = nullptr;
  CPrintLabelsPage* m_printLabels = nullptr;
  CPhotoAlbumsPage* m_photoAlbums = nullptr;
  CDropImporter* m_dropImporter = nullptr;
  QString m_lastPickedPhoto;
};
