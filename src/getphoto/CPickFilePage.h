#pragma once

#include <QHash>
#include <QIcon>
#include <QList>
#include <QString>
#include <QTimer>

#include "controls/CWizardPage.h"
#include "getphoto/LookInPlaces.h"

class CFileBrowserList;
class PreviewDecoder;
class CGetPhotoWizard;
class CFilePreview;
class QComboBox;
class QMenu;
class QToolButton;

// "Choose a Photo File" (dialog 174): the program's own file browser. The selected file
// is previewed 50 ms after it is chosen, decoded off the interface thread; opening a file
// that decodes takes its picture into the working bitmap and goes on to the naming page.
class CPickFilePage : public CWizardPage {
  Q_OBJECT

 public:
  explicit CPickFilePage(CGetPhotoWizard& wizard);
  ~CPickFilePage() override;

  // The folder shown, without a trailing "/" (the root folder is "/").
  const QString& currentFolder() const { return m_folder; }
  // The path of the Look In entry the folder lies on.
  QString rootFolder() const;
  // Shows that folder (a folder that cannot be listed shows empty).
  void openFolder(const QString& folder);
  // The folder button's work: one folder up, never above the Look In root.
  void goUp();
  // Opens the selected entry: a folder is entered, a decoded file goes on to naming.
  void openSelected();
  // The preview timer's work, also for tests: decode the selected file when it changed.
  void checkSelection();

  CFileBrowserList* fileList() const { return m_list; }
  QComboBox* lookIn() const { return m_lookIn; }
  QComboBox* fileTypes() const { return m_types; }
  QToolButton* upButton() const { return m_up; }
  QToolButton* viewButton() const { return m_view; }
  QMenu* viewMenu() const { return m_viewMenu; }
  CFilePreview* preview() const { return m_preview; }
  PreviewDecoder& decoder() const;

  void onSetActive() override;
  void onKillActive() override;
  void onWizardNext() override;

 private:
  void fill();
  void rebuildLookIn();
  void chooseLookIn(int index);
  void chooseViewStyle(int style);
  void goToNamePage();
  QString selectedPath() const;
  QIcon iconForFile(const QString& name);

  CGetPhotoWizard& m_wizard;
  QList<LookInPlace> m_places;
  QString m_folder;
  int m_rootIndex = -1;
  bool m_filling = false;
  bool m_openWhenDecoded = false;
  QHash<QString, QIcon> m_icons;

  QComboBox* m_lookIn;
  QToolButton* m_up;
  QToolButton* m_view;
  QMenu* m_viewMenu;
  CFileBrowserList* m_list;
  QComboBox* m_types;
  CFilePreview* m_preview;
  QTimer m_timer;
};
