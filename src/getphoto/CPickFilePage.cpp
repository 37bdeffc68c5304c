#include "getphoto/CPickFilePage.h"

#include <QAbstractItemView>
#include <QActionGroup>
#include <QComboBox>
#include <QDir>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QStandardItemModel>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QToolButton>
#include <QVBoxLayout>

#include "controls/FeatureHost.h"
#include "controls/CFilePreview.h"
#include "getphoto/CFileBrowserList.h"
#include "getphoto/CGetPhotoWizard.h"
#include "getphoto/CNamePage.h"
#include "getphoto/FolderListing.h"
#include "getphoto/FolderPath.h"
#include "getphoto/PhotoFileTypes.h"
#include "library/PreviewDecoder.h"
#include "krn/ltkrn.h"
#include "library/Settings.h"

namespace {

constexpr int kPathRole = Qt::UserRole;
constexpr int kLevelRole = Qt::UserRole + 1;
constexpr int kPreviewSide = 200;

// Indents the Look In box's path entries one step per folder level in its drop-down.
class LookInDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    QStyleOptionViewItem indented = option;
    indented.rect.adjust(index.data(kLevelRole).toInt() * 14, 0, 0, 0);
    QStyledItemDelegate::paint(painter, indented, index);
  }
};

QIcon PlaceIcon(const QStyle* style, LookInPlace::Kind kind) {
  switch (kind) {
    case LookInPlace::Kind::Desktop: return style->standardIcon(QStyle::SP_DesktopIcon);
    case LookInPlace::Kind::Documents: return style->standardIcon(QStyle::SP_DirHomeIcon);
    case LookInPlace::Kind::Removable: return style->standardIcon(QStyle::SP_DriveFDIcon);
    case LookInPlace::Kind::Network: return style->standardIcon(QStyle::SP_DriveNetIcon);
    case LookInPlace::Kind::CdRom: return style->standardIcon(QStyle::SP_DriveCDIcon);
    case LookInPlace::Kind::Fixed: break;
  }
  return style->standardIcon(QStyle::SP_DriveHDIcon);
}

// Where the browser opens: the last folder a photo came from while it is still there,
// else the user's home.
QString StartFolder(const Settings& settings) {
  const QString last = settings.lastFolderRead();
  if (!last.isEmpty() && QFileInfo(last).isDir()) return FolderPath::Clean(last);
  return FolderPath::Clean(QDir::homePath());
}

}  // namespace

CPickFilePage::CPickFilePage(CGetPhotoWizard& wizard)
    : CWizardPage(QStringLiteral("Choose a Photo File"), 174), m_wizard(wizard) {
  const QStyle* look = style();

  m_lookIn = new QComboBox(this);
  m_lookIn->setObjectName(QStringLiteral("1058"));
  m_lookIn->setItemDelegate(new LookInDelegate(m_lookIn));
  m_lookIn->setMaxVisibleItems(20);
  auto* lookInLabel = new QLabel(QStringLiteral("Look &In:"), this);
  lookInLabel->setBuddy(m_lookIn);

  m_up = new QToolButton(this);
  m_up->setObjectName(QStringLiteral("1059"));
  m_up->setIcon(look->standardIcon(QStyle::SP_FileDialogToParent));
  m_up->setToolTip(QStringLiteral("Back"));
  m_view = new QToolButton(this);
  m_view->setObjectName(QStringLiteral("1060"));
  m_view->setIcon(look->standardIcon(QStyle::SP_FileDialogDetailedView));
  m_view->setToolTip(QStringLiteral("View"));
  m_view->setShortcut(QKeySequence(QStringLiteral("Alt+V")));

  m_viewMenu = new QMenu(this);
  m_viewMenu->setObjectName(QStringLiteral("183"));
  auto* styles = new QActionGroup(m_viewMenu);
  const std::pair<int, const char*> entries[] = {{Settings::kLargeIcons, "&Large Icons"},
                                                 {Settings::kSmallIcons, "&Small Icons"},
                                                 {Settings::kList, "L&ist"},
                                                 {Settings::kDetails, "&Details"}};
  for (const auto& [id, text] : entries) {
    QAction* action = m_viewMenu->addAction(QString::fromLatin1(text));
    action->setObjectName(QString::number(id));
    action->setData(id);
    action->setCheckable(true);
    styles->addAction(action);
    connect(action, &QAction::triggered, this, [this, id = id] { chooseViewStyle(id); });
  }

  m_list = new CFileBrowserList(this);
  m_list->setObjectName(QStringLiteral("1018"));

  m_types = new QComboBox(this);
  m_types->setObjectName(QStringLiteral("1063"));
  for (const PhotoFileType& type : PhotoFileTypes()) m_types->addItem(type.Description, type.Pattern);
  m_types->setCurrentIndex(0);
  auto* typesLabel = new QLabel(QStringLiteral("Files of &Type:"), this);
  typesLabel->setBuddy(m_types);

  m_preview = new CFilePreview(kPreviewSide, this);
  m_preview->setObjectName(QStringLiteral("1006"));
  auto* previewBox = new QGroupBox(QStringLiteral("Preview"), this);
  auto* previewLayout = new QVBoxLayout(previewBox);
  previewLayout->addWidget(m_preview, 0, Qt::AlignCenter);
  previewLayout->addStretch(1);

  auto* top = new QHBoxLayout;
  top->addWidget(lookInLabel);
  top->addWidget(m_lookIn, 1);
  top->addWidget(m_up);
  top->addWidget(m_view);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(typesLabel);
  bottom->addWidget(m_types, 1);
  auto* layout = new QGridLayout(this);
  layout->addLayout(top, 0, 0);
  layout->addWidget(m_list, 1, 0);
  layout->addLayout(bottom, 2, 0);
  layout->addWidget(previewBox, 0, 1, 3, 1);
  layout->setColumnStretch(0, 1);
  layout->setRowStretch(1, 1);

  connect(m_preview, &CFilePreview::fullReady, this, [this] {
    if (m_openWhenDecoded) goToNamePage();
  });
  connect(m_preview, &CFilePreview::failed, this, [this] {
    m_openWhenDecoded = false;
    unsetCursor();
  });
  connect(m_preview, &CFilePreview::viewRequested, this, [this](const QString& path) {
    m_wizard.host().viewFullSize(decoder().full(), QFileInfo(path).fileName());
  });

  connect(m_up, &QToolButton::clicked, this, &CPickFilePage::goUp);
  connect(m_view, &QToolButton::clicked, this, [this] {
    m_viewMenu->popup(m_view->mapToGlobal(QPoint(0, m_view->height())));
  });
  connect(m_list, &CFileBrowserList::entryActivated, this, &CPickFilePage::openSelected);
  connect(m_list, &CFileBrowserList::backRequested, this, &CPickFilePage::goUp);
  connect(m_lookIn, &QComboBox::activated, this, &CPickFilePage::chooseLookIn);
  connect(m_types, &QComboBox::activated, this, [this] { fill(); });
  m_timer.setInterval(50);
  connect(&m_timer, &QTimer::timeout, this, &CPickFilePage::checkSelection);

  m_places = LookInPlaces();
  for (const LookInPlace& place : m_places) {
    m_lookIn->addItem(PlaceIcon(look, place.Type), place.Text, place.Path);
    m_lookIn->setItemData(m_lookIn->count() - 1, 0, kLevelRole);
  }

  const Settings& settings = m_wizard.host().settings();
  m_list->setViewStyle(settings.fileList());
  for (QAction* action : m_viewMenu->actions())
    action->setChecked(action->data().toInt() == m_list->viewStyle());
  openFolder(StartFolder(settings));
}

CPickFilePage::~CPickFilePage() = default;

PreviewDecoder& CPickFilePage::decoder() const { return m_preview->decoder(); }

QString CPickFilePage::rootFolder() const {
  return m_rootIndex >= 0 ? m_places.value(m_rootIndex).Path : QStringLiteral("/");
}

void CPickFilePage::openFolder(const QString& folder) {
  m_folder = FolderPath::Clean(folder);
  if (m_folder.isEmpty()) m_folder = QStringLiteral("/");
  fill();
}

void CPickFilePage::goUp() {
  if (m_folder == rootFolder()) return;
  m_folder = FolderPath::Parent(m_folder);
  fill();
}

void CPickFilePage::fill() {
  m_list->clear();
  const FolderListing listing =
      ListFolder(m_folder, SplitPatterns(m_types->currentData().toString()));
  const QIcon folderIcon = style()->standardIcon(QStyle::SP_DirIcon);
  for (const QString& name : listing.Folders) m_list->addEntry(name, true, folderIcon);
  for (const QString& name : listing.Files) m_list->addEntry(name, false, iconForFile(name));
  m_list->fitColumns();
  rebuildLookIn();
  m_up->setVisible(m_folder != rootFolder());
}

QIcon CPickFilePage::iconForFile(const QString& name) {
  const QString suffix = QFileInfo(name).suffix().toLower();
  if (auto found = m_icons.constFind(suffix); found != m_icons.cend()) return *found;
  static const QFileIconProvider provider;
  QIcon icon = provider.icon(QFileInfo(FolderPath::Child(m_folder, name)));
  if (icon.isNull()) icon = style()->standardIcon(QStyle::SP_FileIcon);
  m_icons.insert(suffix, icon);
  return icon;
}

void CPickFilePage::rebuildLookIn() {
  m_filling = true;
  for (int i = m_lookIn->count() - 1; i >= 0; --i)
    if (m_lookIn->itemData(i, kLevelRole).toInt() > 0) m_lookIn->removeItem(i);
  m_rootIndex = VolumeIndexFor(m_places, m_folder);
  if (m_rootIndex >= 0) {
    const QString root = m_places[m_rootIndex].Path;
    const QStringList steps = FolderPath::StepsBelow(root, m_folder);
    const QIcon folderIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);
    for (int i = 0; i < steps.size(); ++i) {
      const int at = m_rootIndex + 1 + i;
      m_lookIn->insertItem(at, folderIcon, steps[i], FolderPath::Join(root, steps, i + 1));
      m_lookIn->setItemData(at, i + 1, kLevelRole);
    }
    m_lookIn->setCurrentIndex(m_rootIndex + int(steps.size()));
  }
  m_filling = false;
}

void CPickFilePage::chooseLookIn(int index) {
  if (m_filling || index < 0) return;
  openFolder(m_lookIn->itemData(index, kPathRole).toString());
}

void CPickFilePage::chooseViewStyle(int style) {
  m_list->setViewStyle(style);
  m_wizard.host().settings().setFileList(style);
}

QString CPickFilePage::selectedPath() const {
  const int row = m_list->currentRow();
  if (row < 0 || m_list->isFolder(row)) return QString();
  return FolderPath::Child(m_folder, m_list->entryName(row));
}

void CPickFilePage::checkSelection() {
  const QString path = selectedPath();
  if (path == m_preview->file()) return;
  m_openWhenDecoded = false;
  unsetCursor();
  m_preview->showFile(path);
}

void CPickFilePage::openSelected() {
  const int row = m_list->currentRow();
  if (row < 0) return;
  if (m_list->isFolder(row)) {
    openFolder(FolderPath::Child(m_folder, m_list->entryName(row)));
    return;
  }
  // The preview step may not have seen this selection yet.
  checkSelection();
  if (!decoder().hasPreview()) return;
  if (decoder().hasFull()) {
    goToNamePage();
    return;
  }
  // The full picture is still decoding: go on as soon as it is there.
  m_openWhenDecoded = true;
  setCursor(Qt::BusyCursor);
}

void CPickFilePage::goToNamePage() {
  m_openWhenDecoded = false;
  unsetCursor();
  ImageBitmap& working = m_wizard.host().workingPicture();
  FreeBitmap(working);
  working = decoder().takeFull();
  const QString name = QFileInfo(m_preview->file()).completeBaseName();
  // The picture now belongs to the working bitmap, which storing turns into the
  // thumbnail: coming back here decodes the file again rather than offer that.
  m_preview->showFile(QString());
  m_wizard.namePage()->setProposedName(name);
  m_wizard.namePage()->setSource(this);
  sheet()->setActivePage(m_wizard.namePage());
}

void CPickFilePage::onSetActive() {
  sheet()->setWizardButtons(m_wizard.openPage() ? CWizardSheet::Back | CWizardSheet::Next
                                                : CWizardSheet::Next);
  m_timer.start();
  m_list->view()->setFocus();
}

void CPickFilePage::onKillActive() {
  m_timer.stop();
  m_openWhenDecoded = false;
  unsetCursor();
}

void CPickFilePage::onWizardNext() { openSelected(); }
