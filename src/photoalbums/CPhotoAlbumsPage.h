#pragma once

#include <atomic>
#include <memory>
#include <vector>

#include "albums/PhotoAlbum.h"
#include "controls/CTabPage.h"
#include "labels/PageCells.h"
#include "library/ReducedPhoto.h"

class FeatureHost;
class LabelTemplateList;
class PageView;
class QComboBox;
class QTabWidget;
class SinglePhotoCommands;
struct LabelTemplate;

// The Photo Albums tab: the albums of photos.dat in the drop-down, the selected album's
// pages as tabs at the right of the page view, and the buttons that make and delete
// albums and pages. Every change is written to photos.dat at once.
class CPhotoAlbumsPage : public CTabPage {
  Q_OBJECT

 public:
  // Reads photos.dat of the user data folder and shows the first album.
  CPhotoAlbumsPage(FeatureHost& host, LabelTemplateList& templates, QWidget* content, QObject* parent);
  ~CPhotoAlbumsPage() override;

  QString tabText() const override;
  QString tabPicture() const override;
  QString instructions() const override;
  QHash<int, QRect> layout(const TabPageFrame& frame) const override;
  void addCommandState(CommandState& state) const override;
  bool onCommand(int command) override;
  // The selected place's photo, loaded whole from My Photos (for the fun projects).
  std::unique_ptr<PictureEditTarget> editTarget(int command) override;

  const std::vector<PhotoAlbum>& albums() const { return m_albums; }
  LabelTemplateList& templates() const { return m_templates; }
  // photos.dat of the user data folder, which holds the albums shown.
  QString albumsFile() const;
  // Reads photos.dat again after someone else wrote it (publishing stores the pages' web
  // addresses, retrieving adds albums), keeping the album and page on screen.
  void reloadAlbums();
  // -1 when there is none.
  int currentAlbum() const;
  int currentPage() const;
  void selectAlbum(int album);
  void selectPage(int page);
  // The page on screen: a page of the album, or a page of no album while it has none.
  const AlbumPage& shownPage() const;
  const PageCells& cells() const { return m_cells; }
  PageView* pageView() const { return m_view; }
  SinglePhotoCommands& photoOutput() const { return *m_output; }
  // Pages still decoding their pictures in the background.
  bool isLoading() const { return m_loading > 0; }
  // How pages decode their photos (benchmarks compare the two).
  void setPictureDecoding(ReducedDecode decode) { m_decode = decode; }

  // The album and page buttons.
  void createAlbum();
  void deleteAlbum();
  void createPage();
  void deletePage();
  // Puts the stored photo on the selected place (then selects the next), or with
  // fillBlanks on every place without a picture.
  void placePhoto(const QString& stem, bool fillBlanks);

  // A photo of the store was renamed or deleted: every page naming it follows.
  void photoRenamed(const QString& oldStem, const QString& newStem);
  void photoDeleted(const QString& stem);

 signals:
  // Every picture of the page on screen has arrived.
  void pageShown();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  AlbumPage* editablePage();
  void showAlbum();
  void showPage();
  void pickPhoto();
  void deleteSelected();
  void clearPage();
  void movePicture(int from, int to);
  void showMenu(QPoint globalPos);
  void save();
  void placeView();
  void pictureArrived(int generation, int place, const QString& stem, const ImageBitmap& picture,
                      ImageBitmap shown);
  void pageChanged();
  const ImageBitmap* selectedPicture() const;
  // A file of the user data folder.
  QString userFile(const char* name) const;

  FeatureHost& m_host;
  LabelTemplateList& m_templates;
  std::vector<PhotoAlbum> m_albums;
  // The page shown while no album, or an album without pages, is selected; never saved.
  AlbumPage m_scratch;
  const LabelTemplate* m_layout = nullptr;
  PageCells m_cells;
  QComboBox* m_albumList;
  QTabWidget* m_pages;
  PageView* m_view;
  std::unique_ptr<SinglePhotoCommands> m_output;
  // Each page shown gets a number; pictures of an earlier page are dropped on arrival.
  int m_generation = 0;
  std::shared_ptr<std::atomic<bool>> m_loadStop;
  int m_loading = 0;
  // Work that ends after the tab has gone sees this token expired.
  std::shared_ptr<char> m_alive = std::make_shared<char>();
  bool m_saveFailureShown = false;
  ReducedDecode m_decode = ReducedDecode::Scaled;
  bool m_rebuildingTabs = false;
};
