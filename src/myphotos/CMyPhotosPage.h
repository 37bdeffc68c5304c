#pragma once

#include <memory>

#include <QPoint>

#include "controls/CTabPage.h"

class CPictureListBox;
class FeatureHost;
class PhotoListModel;
class PhotoStoreCommands;
class QLabel;
class SemaphoreRegistry;
class SinglePhotoCommands;
class ThumbnailWatcher;

// The My Photos tab: the photo list 1070 that follows the My Photos folder, the
// description hint, and the commands on the selected photo (View, Rename, Delete, Edit
// Comment, Print, Save Picture As, Set as Wallpaper, Copy to Clipboard).
class CMyPhotosPage : public CTabPage {
  Q_OBJECT

 public:
  // semaphores: where the watcher finds "ThumbStop"; null: no watcher (an empty list).
  CMyPhotosPage(FeatureHost& host, SemaphoreRegistry* semaphores, QWidget* content, QObject* parent);
  ~CMyPhotosPage() override;

  QString tabText() const override;
  QString tabPicture() const override;
  QString instructions() const override;
  QHash<int, QRect> layout(const TabPageFrame& frame) const override;
  void addCommandState(CommandState& state) const override;
  bool onCommand(int command) override;
  std::unique_ptr<PictureEditTarget> editTarget(int command) override;
  void setCurrent(bool current) override;

  PhotoListModel& photoModel() const { return *m_photos; }
  CPictureListBox* photoList() const { return m_list; }
  QLabel* hint() const { return m_hint; }
  // The selected entry's stem, or "" when none is selected.
  QString selectedStem() const;
  // The thumbnail watcher that keeps the list; null without semaphores.
  ThumbnailWatcher* watcher() const { return m_watcher.get(); }
  SinglePhotoCommands& photoOutput() const { return *m_output; }
  // The hint for the entry under the cursor (row -1: none), at `pos` in the list's viewport.
  void showPhotoHint(int row, QPoint pos);
  void hideHint();

 signals:
  // The watcher's first listing of the folder is in the list.
  void photoListFilled();
  // A photo of the store was renamed or deleted here, so that what names it may follow.
  void photoRenamed(const QString& oldStem, const QString& newStem);
  void photoDeleted(const QString& stem);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void onListKey(int key);
  void onRightClick(int row, QPoint globalPos);
  void deleteSelected();

  FeatureHost& m_host;
  bool m_current = false;
  PhotoListModel* m_photos;
  CPictureListBox* m_list;
  QLabel* m_hint;
  std::unique_ptr<ThumbnailWatcher> m_watcher;
  std::unique_ptr<PhotoStoreCommands> m_storeCommands;
  std::unique_ptr<SinglePhotoCommands> m_output;
};
