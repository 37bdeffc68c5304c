#include "photoalbums/CPhotoAlbumsPage.h"

#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QThread>

#include "albums/AlbumFile.h"
#include "controls/BackgroundRunner.h"
#include "controls/CInputLineDialog.h"
#include "controls/PageCellCommands.h"
#include "controls/CommandIds.h"
#include "controls/CommandState.h"
#include "controls/FeatureHost.h"
#include "controls/StoredPhotoEditTarget.h"
#include "controls/PagePopupMenu.h"
#include "controls/PageView.h"
#include "controls/ProgramPicture.h"
#include "controls/Prompter.h"
#include "controls/SinglePhotoCommands.h"
#include "krn/ltkrn.h"
#include "labels/LabelTemplates.h"
#include "labels/ScaledPictureCache.h"
#include "library/PhotoStore.h"
#include "library/ReducedPhoto.h"
#include "photoalbums/CPickAlbumPageDialog.h"
#include "system/Folders.h"

namespace {
constexpr int kStaticHeight = 18;
constexpr int kButtonHeight = 28;
constexpr int kButtonColumnWidth = 176;
constexpr int kPictureButtonHeight = 40;
constexpr int kRightAlign = 5;
constexpr int kAlbumTabGap = 8;
constexpr int kAlbumTabShrink = 90;

constexpr const char* kNoAlbumYet =
    "You have not created a photo album yet.  Please click <Create Photo Album>";
constexpr const char* kAlbumNameCaption = "Photo Album Name";
constexpr const char* kAlbumNamePrompt = "Please enter the name of your new Photo Album.";
constexpr const char* kLineBreakInName =
    "A photo album's name cannot hold a line break or other control characters.  Please enter "
    "the name on one line.";
constexpr const char* kNotSaved =
    "Your photo albums could not be saved to %1.  Your changes are kept while Brivane runs; "
    "please make room on the disk or check that the program folder may be written.";
// Album pages hold their photos at a third of their width and height.
constexpr int kAlbumShrink = 3;
// The page view is inset this much from the page tabs' pane.
constexpr int kPaneInset = 1;
// Workers decoding one page's photos at once.
constexpr int kMaxLoadWorkers = 4;

QString PageCaption(int page) { return QStringLiteral("Page %1").arg(page + 1); }
}  // namespace

CPhotoAlbumsPage::CPhotoAlbumsPage(FeatureHost& host, LabelTemplateList& templates, QWidget* content,
                                   QObject* parent)
    : CTabPage(content, parent), m_host(host), m_templates(templates) {
  auto* albumsLabel = addControl(new QLabel(QStringLiteral("Photo &Albums"), content), 1078);
  m_albumList = addControl(new QComboBox(content), 1079);
  albumsLabel->setBuddy(m_albumList);
  const struct {
    int id;
    const char* text;
    void (CPhotoAlbumsPage::*run)();
  } buttons[] = {{1080, "&Create Photo Album", &CPhotoAlbumsPage::createAlbum},
                 {1081, "&Delete Photo Album", &CPhotoAlbumsPage::deleteAlbum},
                 {1082, "C&reate a Page", &CPhotoAlbumsPage::createPage},
                 {1083, "D&elete Page", &CPhotoAlbumsPage::deletePage}};
  for (const auto& b : buttons) {
    auto* button = addControl(new QPushButton(QString::fromLatin1(b.text), content), b.id);
    connect(button, &QPushButton::clicked, this, b.run);
  }

  m_pages = addControl(new QTabWidget(content), 1085);
  m_pages->setTabPosition(QTabWidget::East);
  m_pages->installEventFilter(this);
  // The page view lies over the page tabs' pane; the tabs themselves hold nothing.
  m_view = new PageView(m_pages);
  m_view->setObjectName(QStringLiteral("1012"));

  const struct {
    int id;
    const char* text;
    const char* picture;
  } pictureButtons[] = {{1112, "&Email This Album", "resources/album-email.bmp"},
                        {1159, "&View Album on the web", "resources/album-view-web.bmp"}};
  for (const auto& b : pictureButtons) {
    auto* button = addControl(new QPushButton(content), b.id);
    const QPixmap picture = LoadProgramPicture(GetProgramFolder() + QString::fromLatin1(b.picture));
    if (picture.isNull()) {
      button->setText(QString::fromLatin1(b.text));
    } else {
      button->setIcon(picture);
      button->setIconSize(picture.size());
      button->setToolTip(QString::fromLatin1(b.text).remove('&'));
    }
  }

  m_output = std::make_unique<SinglePhotoCommands>(host.photoStore(), host.prompter(), host.programRunner(),
                                                   host.registry(), host.hostWindow());
  connect(m_view, &PageView::pickPhotoRequested, this, [this] { onCommand(kCommandPickPhoto); });
  connect(m_view, &PageView::deleteRequested, this, [this] { onCommand(kCommandDelete); });
  connect(m_view, &PageView::menuRequested, this, &CPhotoAlbumsPage::showMenu);
  connect(m_view, &PageView::pictureMoved, this, &CPhotoAlbumsPage::movePicture);
  connect(m_view, &PageView::selectionChanged, this, &CPhotoAlbumsPage::commandStateChanged);
  connect(m_albumList, &QComboBox::currentIndexChanged, this, [this] { showAlbum(); });
  connect(m_pages, &QTabWidget::currentChanged, this, [this] {
    if (!m_rebuildingTabs) showPage();
  });

  m_scratch = AlbumPage::Blank(m_templates.DefaultAlbumLayout());
  m_albums = LoadAlbums(userFile(kAlbumFileName), m_templates);
  {
    const QSignalBlocker quiet(m_albumList);
    for (const PhotoAlbum& album : m_albums) m_albumList->addItem(album.Name);
    m_albumList->setCurrentIndex(m_albums.empty() ? -1 : 0);
  }
  showAlbum();
}

CPhotoAlbumsPage::~CPhotoAlbumsPage() {
  if (m_loadStop) *m_loadStop = true;
}

QString CPhotoAlbumsPage::userFile(const char* name) const { return GetUserDataFolder() + QString::fromLatin1(name); }

QString CPhotoAlbumsPage::tabText() const { return QStringLiteral("Photo Albums"); }
QString CPhotoAlbumsPage::tabPicture() const { return QStringLiteral("kid.gif"); }

QString CPhotoAlbumsPage::instructions() const {
  return QStringLiteral(
      "Click the 'Pick a Photo' button above to pick a photo from the 'My Photos' folder and "
      "place it on an empty blank space."
      "  You can also double-click, hit the space bar, or hit the Enter key, on the blank space "
      "to put a photo into.");
}

QHash<int, QRect> CPhotoAlbumsPage::layout(const TabPageFrame& frame) const {
  // The album chooser on top, a column of buttons at the right, the page tabs between.
  const QRect& page = frame.page;
  const int right = frame.client.width() - kRightAlign;
  const int columnLeft = right - kButtonColumnWidth;
  const int y = page.top() + 4;
  QHash<int, QRect> at;
  at[1078] = QRect(page.left() + 4, y + 5, 90, kStaticHeight);
  at[1079] = QRect(page.left() + 98, y, qMax(60, columnLeft - kAlbumTabGap - page.left() - 98), 26);
  at[1080] = QRect(columnLeft, y, kButtonColumnWidth, kButtonHeight);
  at[1081] = QRect(columnLeft, y + 34, kButtonColumnWidth, kButtonHeight);
  at[kPickPhotoButtonId] = QRect(columnLeft, y + 78, kButtonColumnWidth, kButtonHeight);
  at[1082] = QRect(columnLeft, y + 122, kButtonColumnWidth, kButtonHeight);
  at[1083] = QRect(columnLeft, y + 156, kButtonColumnWidth, kButtonHeight);
  at[1112] = QRect(columnLeft, y + 200, kButtonColumnWidth, kPictureButtonHeight);
  at[1159] = QRect(columnLeft, y + 246, kButtonColumnWidth, kPictureButtonHeight);
  const int albumTop = y + 34;
  const int tabControlHeight = frame.client.height() - 2;
  const int albumHeight = qMin(tabControlHeight - kAlbumTabShrink, page.bottom() - albumTop);
  at[1085] = QRect(page.left() + 4, albumTop, qMax(40, columnLeft - kAlbumTabGap - page.left() - 4),
                   qMax(40, albumHeight));
  return at;
}

void CPhotoAlbumsPage::addCommandState(CommandState& state) const {
  state.slotHasPhoto = m_cells.HoldsPicture(m_view->selectedCell());
}

int CPhotoAlbumsPage::currentAlbum() const {
  const int album = m_albumList->currentIndex();
  return album >= 0 && album < int(m_albums.size()) ? album : -1;
}

int CPhotoAlbumsPage::currentPage() const { return m_pages->currentIndex(); }

QString CPhotoAlbumsPage::albumsFile() const { return userFile(kAlbumFileName); }

void CPhotoAlbumsPage::reloadAlbums() {
  const int album = currentAlbum();
  const int page = currentPage();
  m_albums = LoadAlbums(albumsFile(), m_templates);
  {
    const QSignalBlocker quiet(m_albumList);
    m_albumList->clear();
    for (const PhotoAlbum& each : m_albums) m_albumList->addItem(each.Name);
    m_albumList->setCurrentIndex(m_albums.empty() ? -1 : qBound(0, album, int(m_albums.size()) - 1));
  }
  showAlbum();
  if (page > 0) selectPage(page);
}

void CPhotoAlbumsPage::selectAlbum(int album) { m_albumList->setCurrentIndex(album); }
void CPhotoAlbumsPage::selectPage(int page) { m_pages->setCurrentIndex(page); }

AlbumPage* CPhotoAlbumsPage::editablePage() {
  const int album = currentAlbum();
  const int page = currentPage();
  if (album >= 0 && page >= 0 && page < int(m_albums[size_t(album)].Pages.size()))
    return &m_albums[size_t(album)].Pages[size_t(page)];
  return &m_scratch;
}

const AlbumPage& CPhotoAlbumsPage::shownPage() const { return *const_cast<CPhotoAlbumsPage*>(this)->editablePage(); }

void CPhotoAlbumsPage::showAlbum() {
  const int album = currentAlbum();
  const int count = album >= 0 ? std::max(int(m_albums[size_t(album)].Pages.size()), 1) : 1;
  {
    m_rebuildingTabs = true;
    while (m_pages->count() > count) m_pages->removeTab(m_pages->count() - 1);
    while (m_pages->count() < count) m_pages->addTab(new QWidget(), PageCaption(m_pages->count()));
    m_pages->setCurrentIndex(0);
    m_rebuildingTabs = false;
  }
  m_scratch = AlbumPage::Blank(m_templates.DefaultAlbumLayout());
  showPage();
}

void CPhotoAlbumsPage::showPage() {
  // The pictures of the page left are of no use any more.
  if (m_loadStop) *m_loadStop = true;
  const AlbumPage& page = *editablePage();
  // A layout labels.dat does not know is shown as the default one; the page keeps its own.
  m_layout = page.Layout ? page.Layout : m_templates.DefaultAlbumLayout();
  const int places = m_layout ? m_layout->CellCount() : 0;
  m_cells.Rebuild(places);
  m_view->setPage(m_layout, &m_cells);
  m_view->resetSelection();
  m_view->raise();
  placeView();

  std::vector<std::pair<int, QString>> wanted;
  for (int k = 0; k < places; ++k)
    if (!page.Name(k).isEmpty()) wanted.emplace_back(k, page.Name(k));
  const int generation = ++m_generation;
  emit commandStateChanged();
  if (wanted.empty()) {
    emit pageShown();
    return;
  }
  auto stop = std::make_shared<std::atomic<bool>>(false);
  m_loadStop = stop;
  BackgroundTask task;
  task.progressBox = false;
  task.waitCursor = false;
  task.objectName = QStringLiteral("albumPageLoad");
  const PhotoStore& store = m_host.photoStore();
  // The places are shared out among a few workers, one a core but the interface's own.
  const int workers = std::clamp(QThread::idealThreadCount() - 1, 1, std::min(kMaxLoadWorkers, int(wanted.size())));
  auto remaining = std::make_shared<int>(workers);
  for (int worker = 0; worker < workers; ++worker) {
    std::vector<std::pair<int, QString>> share;
    for (size_t k = size_t(worker); k < wanted.size(); k += size_t(workers)) share.push_back(wanted[k]);
    ++m_loading;
    m_host.backgroundRunner().start(
        task,
        [this, alive = std::weak_ptr<char>(m_alive), &store, share, stop, generation,
         decode = m_decode](BackgroundJob& job) {
          for (const auto& [place, stem] : share) {
            if (*stop || job.stopRequested()) break;
            // A photo that is missing or cannot be decoded keeps its place, with no picture.
            ImageBitmap picture;
            if (LoadReducedPhoto(store, stem, kAlbumShrink, picture, decode) != SUCCESS) InitBitmap(picture, 0, 0, 0);
            // Reduced for the screen here too, so that the interface thread only places it.
            ImageBitmap shown = ScaledPictureCache::ReducedForScreen(picture);
            job.callOnInterface([this, alive, generation, place = place, stem = stem, &picture, &shown] {
              if (!alive.expired()) pictureArrived(generation, place, stem, picture, std::move(shown));
            });
          }
          return 0;
        },
        [this, alive = std::weak_ptr<char>(m_alive), generation, remaining](int) {
          // The runner may outlive the tab; a tab gone takes no pictures.
          if (alive.expired()) return;
          --m_loading;
          if (--*remaining == 0 && generation == m_generation) emit pageShown();
        });
  }
}

void CPhotoAlbumsPage::pictureArrived(int generation, int place, const QString& stem, const ImageBitmap& picture,
                                      ImageBitmap shown) {
  if (generation != m_generation) return;
  m_cells.Give(place, picture, stem);
  m_view->addReducedPicture(m_cells.Cell(place).Working, std::move(shown));
  m_view->refresh();
  emit commandStateChanged();
}

void CPhotoAlbumsPage::placeView() {
  // Over the pane beside the tabs, keeping the letter page's shape.
  const QRect tabs = m_pages->tabBar()->geometry();
  QRect pane = m_pages->rect().adjusted(kPaneInset, kPaneInset, -kPaneInset, -kPaneInset);
  pane.setRight(std::min(pane.right(), tabs.left() - 1));
  const double aspect = 8.5 / 11.0;
  int height = pane.height();
  int width = int(height * aspect);
  if (width > pane.width()) {
    width = pane.width();
    height = int(width / aspect);
  }
  m_view->setGeometry(pane.left() + (pane.width() - width) / 2, pane.top(), width, height);
}

bool CPhotoAlbumsPage::eventFilter(QObject* watched, QEvent* event) {
  // Once the tab control has laid out its tabs, which it does after its filters saw the event.
  if (watched == m_pages && (event->type() == QEvent::Resize || event->type() == QEvent::Show))
    QMetaObject::invokeMethod(this, &CPhotoAlbumsPage::placeView, Qt::QueuedConnection);
  return CTabPage::eventFilter(watched, event);
}

void CPhotoAlbumsPage::save() {
  if (SaveAlbums(userFile(kAlbumFileName), m_albums) || m_saveFailureShown) return;
  // Told once a run: the albums live on in memory, and every later change tries again.
  m_saveFailureShown = true;
  m_host.prompter().showError(m_host.hostWindow(), QString::fromLatin1(kNotSaved).arg(userFile(kAlbumFileName)));
}

void CPhotoAlbumsPage::pageChanged() {
  m_view->refresh();
  emit commandStateChanged();
}

const ImageBitmap* CPhotoAlbumsPage::selectedPicture() const {
  const int selected = m_view->selectedCell();
  return m_cells.HoldsPicture(selected) ? m_cells.Cell(selected).Working.get() : nullptr;
}

std::unique_ptr<PictureEditTarget> CPhotoAlbumsPage::editTarget(int) {
  const int selected = m_view->selectedCell();
  if (!m_cells.HoldsPicture(selected)) return nullptr;
  return StoredPhotoEditTarget::Open(m_host, m_cells.Cell(selected).Name);
}

bool CPhotoAlbumsPage::onCommand(int command) {
  switch (command) {
    case kCommandPickPhoto: pickPhoto(); return true;
    case kCommandDelete: deleteSelected(); return true;
    case kCommandClear: clearPage(); return true;
    // Album pages are not printed.
    case kCommandPrint: return true;
    default: return RunCellOutputCommand(command, *m_output, m_cells, m_view->selectedCell());
  }
}

void CPhotoAlbumsPage::createAlbum() {
  QString name;
  for (;;) {
    CInputLineDialog dialog(m_host.prompter(), QString::fromLatin1(kAlbumNameCaption),
                            QString::fromLatin1(kAlbumNamePrompt), name, m_host.hostWindow());
    if (dialog.exec() != QDialog::Accepted) return;
    name = dialog.text();
    if (!HasLineBreakingCharacter(name)) break;
    m_host.prompter().showError(m_host.hostWindow(), QString::fromLatin1(kLineBreakInName));
  }
  PhotoAlbum album;
  album.Name = CleanAlbumText(name);
  album.Pages.push_back(AlbumPage::Blank(m_templates.FindTemplateByCode(QString::fromLatin1(LabelTemplateList::kDefaultAlbumCode))));
  m_albums.push_back(std::move(album));
  {
    const QSignalBlocker quiet(m_albumList);
    m_albumList->addItem(m_albums.back().Name);
    m_albumList->setCurrentIndex(m_albumList->count() - 1);
  }
  showAlbum();
  save();
}

void CPhotoAlbumsPage::deleteAlbum() {
  const int album = currentAlbum();
  if (album < 0) return;
  const QString name = m_albums[size_t(album)].Name;
  if (m_host.prompter().askYesNoCancel(m_host.hostWindow(), QStringLiteral("Are you sure you want to delete %1?").arg(name)) !=
      Prompter::Answer::Yes)
    return;
  m_albums.erase(m_albums.begin() + album);
  {
    const QSignalBlocker quiet(m_albumList);
    m_albumList->removeItem(album);
    m_albumList->setCurrentIndex(m_albums.empty() ? -1 : 0);
  }
  showAlbum();
  save();
  RecordDeletedAlbum(userFile(kDeletedAlbumsFileName), name);
}

void CPhotoAlbumsPage::createPage() {
  const int album = currentAlbum();
  if (album < 0) {
    m_host.prompter().showError(m_host.hostWindow(), QString::fromLatin1(kNoAlbumYet));
    return;
  }
  CPickAlbumPageDialog dialog(m_templates.AlbumLayouts(), m_host.hostWindow());
  if (dialog.exec() != QDialog::Accepted || !dialog.pickedLayout()) return;
  std::vector<AlbumPage>& pages = m_albums[size_t(album)].Pages;
  pages.push_back(AlbumPage::Blank(dialog.pickedLayout()));
  save();
  m_rebuildingTabs = true;
  // An album without pages shows one tab already, for its page of no album.
  if (m_pages->count() < int(pages.size())) m_pages->addTab(new QWidget(), PageCaption(m_pages->count()));
  m_rebuildingTabs = false;
  m_pages->setCurrentIndex(int(pages.size()) - 1);
  showPage();
}

void CPhotoAlbumsPage::deletePage() {
  const int album = currentAlbum();
  if (album < 0) return;
  const int page = currentPage();
  std::vector<AlbumPage>& pages = m_albums[size_t(album)].Pages;
  const QString question = QStringLiteral("Are you sure you want to delete Page %1 from the album '%2'?")
                               .arg(page + 1)
                               .arg(m_albums[size_t(album)].Name);
  if (m_host.prompter().askYesNoCancel(m_host.hostWindow(), question) != Prompter::Answer::Yes) return;
  if (m_pages->count() == 1 || pages.size() <= 1) {
    // The last page stays, blank, with its web link.
    if (!pages.empty()) std::fill(pages.front().Names.begin(), pages.front().Names.end(), QString());
  } else if (page >= 0 && page < int(pages.size())) {
    pages.erase(pages.begin() + page);
    m_rebuildingTabs = true;
    m_pages->removeTab(page);
    for (int tab = 0; tab < m_pages->count(); ++tab) m_pages->setTabText(tab, PageCaption(tab));
    m_pages->setCurrentIndex(0);
    m_rebuildingTabs = false;
  }
  save();
  showPage();
}

void CPhotoAlbumsPage::pickPhoto() {
  if (currentAlbum() < 0) {
    m_host.prompter().showError(m_host.hostWindow(), QString::fromLatin1(kNoAlbumYet));
    return;
  }
  if (const std::optional<PickedPhoto> picked = AskForPhoto(m_host)) placePhoto(picked->Stem, picked->FillBlanks);
}

void CPhotoAlbumsPage::placePhoto(const QString& stem, bool fillBlanks) {
  if (currentAlbum() < 0) return;
  const PhotoStore& store = m_host.photoStore();
  // Shrunk at once as the page holds it, so that it looks as it will after a restart.
  const std::vector<int> placed =
      PlacePhotoOnPage(m_host, *m_view, m_cells, stem, fillBlanks, [&store, stem](ImageBitmap& picture) {
        return LoadReducedPhoto(store, stem, kAlbumShrink, picture);
      });
  if (placed.empty()) return;
  AlbumPage& page = *editablePage();
  for (int place : placed) page.SetName(place, stem);
  // A page of no album is never written.
  if (&page != &m_scratch) save();
  pageChanged();
}

void CPhotoAlbumsPage::deleteSelected() {
  const int selected = m_view->selectedCell();
  if (!m_cells.IsValid(selected)) return;
  AlbumPage& page = *editablePage();
  page.SetName(selected, QString());
  if (&page != &m_scratch) save();
  m_cells.Clear(selected);
  pageChanged();
}

void CPhotoAlbumsPage::clearPage() {
  if (m_host.prompter().askYesNoCancel(m_host.hostWindow(), QStringLiteral("Are you sure you want to clear the page?")) !=
      Prompter::Answer::Yes)
    return;
  AlbumPage& page = *editablePage();
  std::fill(page.Names.begin(), page.Names.end(), QString());
  if (&page != &m_scratch) save();
  showPage();
}

void CPhotoAlbumsPage::movePicture(int from, int to) {
  if (!m_cells.Move(from, to)) return;
  AlbumPage& page = *editablePage();
  page.SetName(to, page.Name(from));
  page.SetName(from, QString());
  if (&page != &m_scratch) save();
  pageChanged();
}

void CPhotoAlbumsPage::showMenu(QPoint globalPos) {
  QMenu* menu = MakePagePopupMenu(m_host, MainTab::PhotoAlbums, selectedPicture() != nullptr, m_view);
  menu->setAttribute(Qt::WA_DeleteOnClose);
  menu->popup(globalPos);
}

void CPhotoAlbumsPage::photoRenamed(const QString& oldStem, const QString& newStem) {
  const int changed = RenamePhotoInAlbums(m_albums, oldStem, newStem);
  for (QString& name : m_scratch.Names)
    if (name == oldStem) name = newStem;
  if (changed > 0) save();
  showPage();
}

void CPhotoAlbumsPage::photoDeleted(const QString& stem) {
  const int changed = RemovePhotoFromAlbums(m_albums, stem);
  for (QString& name : m_scratch.Names)
    if (name == stem) name.clear();
  if (changed > 0) save();
  showPage();
}
