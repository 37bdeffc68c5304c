#include "myphotos/CMyPhotosPage.h"

#include <QCursor>
#include <QEvent>
#include <QLabel>

#include "controls/CPictureListBox.h"
#include "controls/CommandIds.h"
#include "controls/CommandState.h"
#include "controls/FeatureHost.h"
#include "krn/ResultCodes.h"
#include "library/PhotoListModel.h"
#include "library/PhotoListUpdater.h"
#include "library/PhotoStore.h"
#include "library/ThumbnailWatcher.h"
#include "myphotos/HintGeometry.h"
#include "myphotos/PhotoStoreCommands.h"
#include "controls/StoredPhotoEditTarget.h"
#include "controls/SinglePhotoCommands.h"
#include "system/Folders.h"

namespace {
constexpr int kPhotoPopupMenu = 184;
const QColor kHintColour(255, 255, 128);
}  // namespace

CMyPhotosPage::CMyPhotosPage(FeatureHost& host, SemaphoreRegistry* semaphores, QWidget* content,
                             QObject* parent)
    : CTabPage(content, parent), m_host(host) {
  m_photos = new PhotoListModel(this);
  m_list = addControl(new CPictureListBox(content), 1070);
  m_list->setModel(m_photos);
  m_list->setHintEnabled(true);
  m_list->installEventFilter(this);

  m_hint = new QLabel(QStringLiteral("Hint"), m_list);
  m_hint->setObjectName(QStringLiteral("hint"));
  m_hint->setWordWrap(true);
  m_hint->setMargin(2);
  m_hint->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  m_hint->setAutoFillBackground(true);
  QPalette colours = m_hint->palette();
  colours.setColor(QPalette::Window, kHintColour);
  colours.setColor(QPalette::WindowText, Qt::black);
  m_hint->setPalette(colours);
  m_hint->hide();

  auto changed = [this] { emit commandStateChanged(); };
  connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this, changed);
  connect(m_photos, &QAbstractItemModel::rowsRemoved, this, changed);
  connect(m_photos, &QAbstractItemModel::modelReset, this, changed);
  connect(m_list, &CPictureListBox::keyNotified, this, &CMyPhotosPage::onListKey);
  connect(m_list, &CPictureListBox::rightClicked, this, &CMyPhotosPage::onRightClick);
  connect(m_list, &CPictureListBox::hoverIndex, this, [this](int row) {
    showPhotoHint(row, m_list->viewport()->mapFromGlobal(QCursor::pos()));
  });
  connect(m_list, &QAbstractItemView::doubleClicked, this, [this] { onCommand(kCommandView); });

  QWidget* window = host.hostWindow();
  m_storeCommands = std::make_unique<PhotoStoreCommands>(host.photoStore(), host.prompter(), window);
  m_storeCommands->setViewFullPhoto([&host](const ImageBitmap& picture) { host.viewFullSize(picture, QString()); });
  m_output = std::make_unique<SinglePhotoCommands>(host.photoStore(), host.prompter(), host.programRunner(),
                                                   host.registry(), window);

  if (semaphores) {
    m_watcher = std::make_unique<ThumbnailWatcher>(GetMyPhotosFolder(), *semaphores, m_photos);
    m_watcher->updater().setSelectionModel(m_list->selectionModel());
    connect(&m_watcher->updater(), &PhotoListUpdater::scanDone, this, changed);
    connect(&m_watcher->updater(), &PhotoListUpdater::firstScanDone, this, &CMyPhotosPage::photoListFilled);
    m_watcher->start();
  }
}

CMyPhotosPage::~CMyPhotosPage() {
  if (m_watcher) m_watcher->stop();
}

QString CMyPhotosPage::tabText() const { return QStringLiteral("My Photos"); }
QString CMyPhotosPage::tabPicture() const { return QStringLiteral("camera.gif"); }

QString CMyPhotosPage::instructions() const {
  return QStringLiteral(
      "1. Click the 'Get Photo' button to grab a new photo off of your PC, Camera, Scanner or "
      "other TWAIN compatible photo capturing device."
      "\n\n2. You will see your photo in the 'My Photos' folder.  You can add a caption to the "
      "photo, print it, add a frame, crop the photo, or perform a 'Special Effect' using the "
      "'Caption', 'Print', 'Frame', 'Crop', and 'Effects' buttons at the top."
      "\n\n3. You can place your photos in a photo album, print them on Avery labels or "
      "regular printer paper."
      "\n\n4. The most exicing feature of Brivane is the ability to publish your photos to "
      "the web to share with your friends and family.  "
      "You can publish your entire 'My Photos' folder and/or publish your photo album(s) and "
      "send the World Wide Web links to your photos to your friends and family.");
}

QHash<int, QRect> CMyPhotosPage::layout(const TabPageFrame& frame) const { return {{1070, frame.page}}; }

void CMyPhotosPage::addCommandState(CommandState& state) const { state.photoSelected = m_list->currentRow() >= 0; }

void CMyPhotosPage::setCurrent(bool current) {
  m_current = current;
  CTabPage::setCurrent(current);
  if (!current) m_hint->hide();
}

QString CMyPhotosPage::selectedStem() const {
  const int row = m_list->currentRow();
  return row >= 0 ? m_photos->text(row) : QString();
}

bool CMyPhotosPage::onCommand(int command) {
  const QString stem = selectedStem();
  ImageBitmap& working = m_host.workingPicture();
  switch (command) {
    case kCommandRename: {
      QString newStem;
      if (m_storeCommands->renamePhoto(stem, &newStem) == SUCCESS) emit photoRenamed(stem, newStem);
      return true;
    }
    case kCommandDelete: deleteSelected(); return true;
    case kCommandEditComment: m_storeCommands->editComment(working, stem); return true;
    case kCommandView:
      if (!stem.isEmpty()) m_output->view(working, stem);
      return true;
    case kCommandPrint:
      if (!stem.isEmpty()) m_output->print(stem);
      return true;
    case kCommandSavePictureAs:
      if (!stem.isEmpty()) m_output->saveAs(working, stem);
      return true;
    case kCommandSetAsWallpaper:
      if (!stem.isEmpty()) m_output->setAsWallpaper(working, stem);
      return true;
    case kCommandCopyToClipboard:
      if (!stem.isEmpty()) m_output->copyToClipboard(working, stem);
      return true;
    default: return false;
  }
}

std::unique_ptr<PictureEditTarget> CMyPhotosPage::editTarget(int) {
  return StoredPhotoEditTarget::Open(m_host, selectedStem());
}

void CMyPhotosPage::deleteSelected() {
  const QString stem = selectedStem();
  if (m_storeCommands->deletePhoto(stem) != SUCCESS) return;
  emit photoDeleted(stem);
  // The list then selects its first entry once the folder has been read again, rather
  // than whichever photo moved into the deleted one's place.
  m_list->selectionModel()->clear();
  // Those told of the deletion may have let the list take the folder's news already (a
  // message box runs events): then the first entry is selected here.
  if (m_photos->findExact(stem, Qt::CaseSensitive) < 0 && m_photos->count() > 0) m_list->setCurrentRow(0);
}

void CMyPhotosPage::showPhotoHint(int row, QPoint pos) {
  const PhotoItem* item = row >= 0 && row < m_photos->count() ? m_photos->item(row).get() : nullptr;
  const QString description = item ? item->Description : QString();
  if (!m_current || description.isEmpty()) {
    m_hint->hide();
    return;
  }
  m_hint->setText(description);
  const QSize size = HintSize(m_hint->fontMetrics(), description);
  const QPoint cursor = m_list->viewport()->mapTo(m_list, pos);
  m_hint->setGeometry(QRect(HintPosition(cursor, size, m_list->size()), size));
  m_hint->show();
  m_hint->raise();
}

void CMyPhotosPage::hideHint() { m_hint->hide(); }

void CMyPhotosPage::onListKey(int key) { onCommand(key == Qt::Key_Delete ? kCommandDelete : kCommandView); }

void CMyPhotosPage::onRightClick(int row, QPoint globalPos) {
  if (!m_current || row < 0) return;
  emit commandStateChanged();
  m_host.popupMenu(kPhotoPopupMenu, globalPos);
}

bool CMyPhotosPage::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_list && event->type() == QEvent::FocusOut) m_hint->hide();
  return CTabPage::eventFilter(watched, event);
}
