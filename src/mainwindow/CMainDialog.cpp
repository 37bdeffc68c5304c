#include "mainwindow/CMainDialog.h"

#include <utility>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QCursor>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include "controls/Prompter.h"
#include "fil/ltfil.h"
#include "getphoto/CGetPhotoWizard.h"
#include "getphoto/PhotoScanner.h"
#include "help/CHelpWindow.h"
#include "fun/CShowBuilderWizard.h"
#include "help/HelpTopics.h"
#include "krn/ltkrn.h"
#include "controls/CPictureListBox.h"
#include "library/PhotoListModel.h"
#include "library/PhotoListUpdater.h"
#include "library/ThumbnailWatcher.h"
#include "mainwindow/CMainTabBar.h"
#include "mainwindow/CMainTabControl.h"
#include "mainwindow/CPropertiesDialog.h"
#include "mainwindow/CViewPhotoDialog.h"
#include "mainwindow/DetachedProgramRunner.h"
#include "mainwindow/CommandEnable.h"
#include "mainwindow/CommandIds.h"
#include "mainwindow/CommandTable.h"
#include "mainwindow/DropImportJob.h"
#include "mainwindow/FunActivities.h"
#include "mainwindow/HintGeometry.h"
#include "mainwindow/InstructionsTexts.h"
#include "mainwindow/MainLayout.h"
#include "mainwindow/PhotoStoreCommands.h"
#include "mainwindow/SinglePhotoCommands.h"
#include "mainwindow/ToolbarImages.h"
#include "system/Folders.h"
#include "system/RegistryStore.h"

namespace {
// The full-size view the wizards open over whichever window is active.
void ViewFullSize(const ImageBitmap& picture, const QString& name) {
  CViewPhotoDialog view(picture, name, QApplication::activeWindow());
  view.exec();
}

constexpr const char* kStopSemaphoreName = "ThumbStop";
constexpr const char* kClearQuestion = "Are you sure you want to clear the page?";
constexpr const char* kNoAlbumYet =
    "You have not created a photo album yet.  Please click <Create Photo Album>";
constexpr const char* kTakenOnDrop =
    "You already have a photo named '%1'.\n\n"
    "Click Yes to replace it with the dropped picture, No to keep both (the dropped picture "
    "gets a new name), or Cancel to skip this picture.";
constexpr const char* kImporting = "Adding the dropped pictures to 'My Photos'...";
const QColor kInstructionsColour(255, 255, 128);
const char* const kTabTexts[kMainTabCount] = {"My Photos", "Photo Albums", "Print Labels",
                                              "Publish to the Web", "Fun"};
const char* const kTabPictures[kMainTabCount] = {"camera.gif", "kid.gif", "label.gif", "web.gif",
                                                 "fun.gif"};
const char* const kPublishTexts[4] = {
    "Share your photos with your friends and family.",
    "Brivane puts the photos of your 'My Photos' folder and your photo albums on the Brivane "
    "photo service, so that anybody you send the links to can look at them in a web browser.",
    "Only new and changed photos are sent each time, so publishing again after adding a few "
    "photos is quick.",
    "You need a free account on the service; Brivane asks for it the first time you publish."};

QPixmap LoadPicture(const QString& file) {
  ImageBitmap picture;
  InitBitmap(picture, 0, 0, 0);
  QPixmap pixmap;
  if (LoadImageFile(file, picture) == 1 && picture.hasPixels()) pixmap = QPixmap::fromImage(picture.Pixels);
  FreeBitmap(picture);
  return pixmap;
}
}  // namespace

CMainDialog::CMainDialog(MainWindowServices services, QWidget* parent)
    : QMainWindow(parent),
      m_services(std::move(services)),
      m_settings(m_services.settingsFile),
      m_store(GetMyPhotosFolder()) {
  setObjectName("102");
  setWindowTitle("Brivane");
  m_settings.read();
  if (m_services.semaphores) m_stopSemaphore = m_services.semaphores->open(kStopSemaphoreName);
  InitBitmap(m_working, 0, 0, 0);
  // Failure (not allowed, or the name taken by a file) is not reported: the photo list
  // then simply shows nothing.
  QDir().mkpath(GetMyPhotosFolder());
  m_storeCommands = std::make_unique<PhotoStoreCommands>(m_store, prompter(), this);
  m_photoOutput = std::make_unique<SinglePhotoCommands>(m_store, prompter(), this);
  m_scanner = std::make_unique<TwainPhotoScanner>();

  QIcon icon;
  for (int size : {16, 32, 48, 256})
    icon.addFile(GetProgramFolder() + QStringLiteral("resources/brivane-%1.png").arg(size));
  setWindowIcon(icon);

  createActions();
  createMenus();
  createToolbar();
  createContent();
  if (m_services.semaphores) {
    m_watcher = std::make_unique<ThumbnailWatcher>(GetMyPhotosFolder(), *m_services.semaphores, m_photos);
    m_watcher->updater().setSelectionModel(m_photoList->selectionModel());
    connect(&m_watcher->updater(), &PhotoListUpdater::scanDone, this, [this] { updateCommandStates(); });
    connect(&m_watcher->updater(), &PhotoListUpdater::firstScanDone, this, &CMainDialog::photoListFilled);
    m_watcher->start();
  }
  FillFunList(*m_fun, GetProgramFolder());
  setAcceptDrops(true);

  setCurrentTab(MainTab::MyPhotos);
  setMinimumSize(640, 480);
  resize(900, 640);
  if (const QScreen* screen = this->screen())
    setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(),
                                    screen->availableGeometry()));
}

CMainDialog::~CMainDialog() {
  // The import works on the store, which goes before the window's children do.
  delete m_import;
  m_import = nullptr;
  if (m_watcher) m_watcher->stop();
  else if (m_stopSemaphore) m_stopSemaphore->release(1);
  m_settings.writeViewSettings();
  FreeBitmap(m_working);
}

void CMainDialog::createActions() {
  for (const MenuDefinition& menu : MainMenuDefinition()) {
    for (const MenuEntry& entry : menu.entries) {
      if (entry.kind != MenuEntry::Kind::Command || m_actions.contains(entry.command)) continue;
      auto* action = new QAction(QString::fromLatin1(entry.text), this);
      action->setObjectName(QString::number(entry.command));
      action->setData(entry.command);
      const int command = entry.command;
      connect(action, &QAction::triggered, this, [this, command] { onCommand(command); });
      m_actions.insert(command, action);
    }
  }
}

void CMainDialog::createMenus() {
  menuBar()->setObjectName("132");
  for (const MenuDefinition& definition : MainMenuDefinition()) {
    QMenu* menu = menuBar()->addMenu(QString::fromLatin1(definition.title));
    QMenu* target = menu;
    for (const MenuEntry& entry : definition.entries) {
      switch (entry.kind) {
        case MenuEntry::Kind::Command: target->addAction(m_actions.value(entry.command)); break;
        case MenuEntry::Kind::Separator: target->addSeparator(); break;
        case MenuEntry::Kind::SubmenuBegin: target = menu->addMenu(QString::fromLatin1(entry.text)); break;
        case MenuEntry::Kind::SubmenuEnd: target = menu; break;
      }
    }
  }
  m_photoPopup = new QMenu(this);
  m_photoPopup->setObjectName("184");
  for (int command : PhotoPopupCommands()) {
    if (command == 0) m_photoPopup->addSeparator();
    else m_photoPopup->addAction(m_actions.value(command));
  }
}

void CMainDialog::createToolbar() {
  m_toolbar = addToolBar("Toolbar");
  m_toolbar->setObjectName("toolbar");
  m_toolbar->setMovable(false);
  m_toolbar->setFloatable(false);
  m_toolbar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  m_toolbar->setIconSize(QSize(kToolbarImageWidth, kToolbarImageHeight));
  const QList<ToolbarButton> buttons = ToolbarButtons();
  ImageBitmap strip;
  InitBitmap(strip, 0, 0, 0);
  QList<QPixmap> images;
  if (LoadImageFile(GetProgramFolder() + "resources/toolbar.bmp", strip) == 1)
    images = CutToolbarImages(strip.Pixels, int(buttons.size()));
  FreeBitmap(strip);
  for (int i = 0; i < buttons.size(); ++i) {
    QAction* action = m_actions.value(buttons[i].command);
    if (i < images.size()) action->setIcon(QIcon(images[i]));
    action->setIconText(QString::fromLatin1(buttons[i].text));
    m_toolbar->addAction(action);
    if (QWidget* button = m_toolbar->widgetForAction(action)) button->setMinimumSize(36, 45);
  }
}

QWidget* CMainDialog::addControl(QWidget* control, int id) {
  control->setObjectName(QString::number(id));
  m_controls.insert(id, control);
  return control;
}

void CMainDialog::createContent() {
  m_content = new QWidget(this);
  m_content->setObjectName("content");
  setCentralWidget(m_content);
  m_content->installEventFilter(this);

  m_tabs = new CMainTabControl(m_content);
  addControl(m_tabs, 1007);
  QList<QPixmap> pictures;
  for (int i = 0; i < kMainTabCount; ++i) {
    m_tabs->addTab(new QWidget(), QString::fromLatin1(kTabTexts[i]));
    pictures.append(LoadPicture(GetProgramFolder() + QString::fromLatin1(kTabPictures[i])));
  }
  m_tabs->mainTabBar()->setPictures(pictures);
  connect(m_tabs, &QTabWidget::currentChanged, this, [this] {
    m_hint->hide();
    showTabControls();
  });

  auto* caption = new QLabel("Instructions", m_content);
  caption->setObjectName("instructionsCaption");
  QFont bold = caption->font();
  bold.setBold(true);
  caption->setFont(bold);
  m_controls.insert(kInstructionsCaptionId, caption);
  m_instructions = new QPlainTextEdit(m_content);
  addControl(m_instructions, 1073);
  m_instructions->setReadOnly(true);
  m_instructions->setTextInteractionFlags(Qt::TextSelectableByMouse);
  QPalette yellow = m_instructions->palette();
  yellow.setColor(QPalette::Base, kInstructionsColour);
  yellow.setColor(QPalette::Text, Qt::black);
  m_instructions->setPalette(yellow);

  m_photos = new PhotoListModel(this);
  m_fun = new PhotoListModel(this);
  m_photoList = new CPictureListBox(m_content);
  m_photoList->setModel(m_photos);
  addControl(m_photoList, 1070);
  m_photoList->setHintEnabled(true);
  m_funList = new CPictureListBox(m_content);
  m_funList->setModel(m_fun);
  // Wide enough for "Create a Magazine Cover" on one or two lines.
  m_funList->setColumnWidth(qMax(m_funList->columnWidth(), 160));
  addControl(m_funList, 1071);
  m_photoList->installEventFilter(this);
  connect(m_photoList->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          [this] { updateCommandStates(); });
  connect(m_photos, &QAbstractItemModel::rowsRemoved, this, [this] { updateCommandStates(); });
  connect(m_photos, &QAbstractItemModel::modelReset, this, [this] { updateCommandStates(); });
  connect(m_photoList, &CPictureListBox::keyNotified, this, &CMainDialog::onPhotoListKey);
  connect(m_photoList, &CPictureListBox::rightClicked, this, &CMainDialog::onPhotoListRightClick);
  connect(m_photoList, &CPictureListBox::hoverIndex, this, [this](int row) {
    showPhotoHint(row, m_photoList->viewport()->mapFromGlobal(QCursor::pos()));
  });
  connect(m_photoList, &QAbstractItemView::doubleClicked, this, [this] { onCommand(kCommandView); });
  connect(m_funList, &QAbstractItemView::doubleClicked, this,
          [this](const QModelIndex& index) { startFunActivity(index.row()); });

  m_hint = new QLabel("Hint", m_photoList);
  m_hint->setObjectName("hint");
  m_hint->setWordWrap(true);
  m_hint->setMargin(2);
  m_hint->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  m_hint->setAutoFillBackground(true);
  QPalette hintColours = m_hint->palette();
  hintColours.setColor(QPalette::Window, QColor(255, 255, 225));
  hintColours.setColor(QPalette::WindowText, Qt::black);
  m_hint->setPalette(hintColours);
  m_hint->hide();

  // Print Labels and Photo Albums: not wired yet, shown on their tabs.
  auto* pick = new QPushButton("P&ick a Photo", m_content);
  addControl(pick, 1010);
  connect(pick, &QPushButton::clicked, this, [this] { onCommand(kCommandPickPhoto); });
  auto* sheet = new QFrame(m_content);
  addControl(sheet, 1011);
  sheet->setFrameShape(QFrame::StyledPanel);
  sheet->setFrameShadow(QFrame::Sunken);
  sheet->setAutoFillBackground(true);
  QPalette paper = sheet->palette();
  paper.setColor(QPalette::Window, QColor(0x80, 0x80, 0x80));
  sheet->setPalette(paper);
  addControl(new QLabel("Label Template:", m_content), 1050);
  addControl(new QLabel(m_content), 1020);
  auto* albumsLabel = new QLabel("Photo &Albums", m_content);
  addControl(albumsLabel, 1078);
  auto* albums = new QComboBox(m_content);
  addControl(albums, 1079);
  albumsLabel->setBuddy(albums);
  addControl(new QPushButton("&Create Photo Album", m_content), 1080);
  addControl(new QPushButton("&Delete Photo Album", m_content), 1081);
  addControl(new QPushButton("C&reate a Page", m_content), 1082);
  addControl(new QPushButton("D&elete Page", m_content), 1083);
  auto* pages = new QTabWidget(m_content);
  addControl(pages, 1085);
  auto* pageView = new QFrame(pages);
  addControl(pageView, 1012);
  pageView->setAutoFillBackground(true);
  pageView->setPalette(paper);
  const struct { int id; const char* text; const char* picture; } pictureButtons[] = {
      {1112, "&Email This Album", "resources/album-email.bmp"},
      {1159, "&View Album on the web", "resources/album-view-web.bmp"}};
  for (const auto& b : pictureButtons) {
    auto* button = new QPushButton(m_content);
    addControl(button, b.id);
    const QPixmap picture = LoadPicture(GetProgramFolder() + QString::fromLatin1(b.picture));
    if (picture.isNull()) {
      button->setText(QString::fromLatin1(b.text));
    } else {
      button->setIcon(picture);
      button->setIconSize(picture.size());
      button->setToolTip(QString::fromLatin1(b.text).remove('&'));
    }
  }
  for (int i = 0; i < 4; ++i) {
    auto* text = new QLabel(QString::fromLatin1(kPublishTexts[i]), m_content);
    addControl(text, 1090 + i);
    text->setWordWrap(true);
    text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    if (i == 0) {
      QFont title = text->font();
      title.setPointSizeF(title.pointSizeF() * 1.4);
      title.setBold(true);
      text->setFont(title);
    }
  }
  addControl(new QPushButton("&Put my photos on the web", m_content), 1094);
}

void CMainDialog::layoutContent() {
  if (!m_content) return;
  const QHash<int, QRect> at = LayoutMainWindow(m_content->size(), m_tabs->barHeight(), currentTab());
  for (auto it = at.cbegin(); it != at.cend(); ++it)
    if (QWidget* control = m_controls.value(it.key())) control->setGeometry(it.value());
  if (QWidget* pages = m_controls.value(1085))
    m_controls.value(1012)->setGeometry(pages->rect().adjusted(6, 6, -6, -6));
}

void CMainDialog::showTabControls() {
  const MainTab tab = currentTab();
  layoutContent();
  for (auto it = m_controls.cbegin(); it != m_controls.cend(); ++it) {
    if (it.key() == 1012) continue;  // inside 1085
    it.value()->setVisible(ControlShownOnTab(it.key(), tab));
  }
  m_instructions->setPlainText(InstructionsText(tab));
  m_instructions->moveCursor(QTextCursor::Start);
  m_instructions->ensureCursorVisible();
  updateCommandStates();
  update();
}

MainTab CMainDialog::currentTab() const { return MainTab(qBound(0, m_tabs->currentIndex(), kMainTabCount - 1)); }

void CMainDialog::setCurrentTab(MainTab tab) {
  if (m_tabs->currentIndex() == int(tab)) showTabControls();
  else m_tabs->setCurrentIndex(int(tab));
}

CommandState CMainDialog::commandState() const {
  CommandState state;
  state.tab = currentTab();
  state.photoSelected = m_photoList->currentRow() >= 0;
  // Album slots and label sheets come with the albums and labels.
  return state;
}

void CMainDialog::updateCommandStates() {
  const CommandState state = commandState();
  for (auto it = m_actions.cbegin(); it != m_actions.cend(); ++it)
    it.value()->setEnabled(IsCommandEnabled(it.key(), state));
}

QAction* CMainDialog::commandAction(int command) const { return m_actions.value(command); }

QString CMainDialog::selectedStem() const {
  const int row = m_photoList->currentRow();
  return row >= 0 ? m_photos->text(row) : QString();
}

void CMainDialog::showPhotoHint(int row, QPoint pos) {
  const QString description =
      row >= 0 && row < m_photos->count() && m_photos->item(row) ? m_photos->item(row)->Description : QString();
  if (currentTab() != MainTab::MyPhotos || description.isEmpty()) {
    m_hint->hide();
    return;
  }
  m_hint->setText(description);
  const QFontMetrics metrics = m_hint->fontMetrics();
  const QSize size = HintSize(metrics.horizontalAdvance(description), metrics.height());
  const QPoint cursor = m_photoList->viewport()->mapTo(m_photoList, pos);
  m_hint->setGeometry(QRect(HintPosition(cursor, size, m_photoList->size()), size));
  m_hint->show();
  m_hint->raise();
}

bool CMainDialog::onCommand(int command) {
  if (command != kCommandPickPhoto && !m_actions.contains(command)) return false;
  const MainTab tab = currentTab();
  switch (command) {
    case kCommandPreferences: runPreferences(); break;
    case kCommandExit: close(); break;
    case kCommandHelpContents: openHelp(kHelpContents); break;
    case kCommandHowToUse: openHelp(kHelpHowToUse); break;
    case kCommandRename:
      if (tab == MainTab::MyPhotos) m_storeCommands->renamePhoto(selectedStem());
      break;
    case kCommandDelete:
      // On the album and label tabs Delete clears the selected slot, which comes with them.
      if (tab == MainTab::MyPhotos) m_storeCommands->deletePhoto(selectedStem());
      break;
    case kCommandEditComment:
      if (tab == MainTab::MyPhotos) m_storeCommands->editComment(m_working, selectedStem());
      break;
    case kCommandClear:
      // Clearing the page itself comes with the albums and label sheets.
      prompter().askYesNoCancel(this, QString::fromLatin1(kClearQuestion));
      break;
    case kCommandPickPhoto:
      if (tab == MainTab::PhotoAlbums) prompter().showError(this, QString::fromLatin1(kNoAlbumYet));
      break;
    case kCommandView: runView(); break;
    case kCommandGetPhoto: runGetPhoto(); break;
    // On the other tabs these take the album slot or the label, which come with them.
    case kCommandPrint:
      if (tab == MainTab::MyPhotos && !selectedStem().isEmpty()) m_photoOutput->print(selectedStem());
      break;
    case kCommandSavePictureAs:
      if (tab == MainTab::MyPhotos && !selectedStem().isEmpty())
        m_photoOutput->saveAs(m_working, selectedStem());
      break;
    case kCommandSetAsWallpaper:
      if (tab == MainTab::MyPhotos && !selectedStem().isEmpty())
        m_photoOutput->setAsWallpaper(m_working, selectedStem());
      break;
    case kCommandCopyToClipboard:
      if (tab == MainTab::MyPhotos && !selectedStem().isEmpty())
        m_photoOutput->copyToClipboard(m_working, selectedStem());
      break;
    default:
      // The command's feature comes later; its menu item and enable rule are in place.
      break;
  }
  return true;
}

void CMainDialog::runView() {
  // The album and label tabs show their own pictures, which come with them.
  if (currentTab() != MainTab::MyPhotos || selectedStem().isEmpty()) return;
  m_photoOutput->view(m_working, selectedStem());
}

void CMainDialog::runGetPhoto() {
  setCurrentTab(MainTab::MyPhotos);
  GetPhotoHost host;
  host.Working = &m_working;
  host.Store = &m_store;
  host.ProgramSettings = &m_settings;
  host.Prompts = &prompter();
  host.Scanner = m_services.scanner ? m_services.scanner : m_scanner.get();
  host.ViewFullPhoto = ViewFullSize;
  {
    CGetPhotoWizard wizard(host, this);
    emit getPhotoWizardOpened(&wizard);
    wizard.exec();
  }
  // What the wizard left in the working bitmap (a thumbnail, a picture not stored) goes.
  FreeBitmap(m_working);
  InitBitmap(m_working, 0, 0, 0);
  update();
}

void CMainDialog::startFunActivity(int row) {
  // Rows 0 to 3 are the fun projects, which come with their wizard.
  if (row != kFunSlideShow && row != kFunScreenSaver) return;
  RegistryStore registry;
  DetachedProgramRunner runner;
  ShowBuilderHost host;
  host.Store = &m_store;
  host.Prompts = &prompter();
  host.Registry = &registry;
  host.ProgramFolder = GetProgramFolder();
  host.SystemFolder = GetSystemFolder();
  host.ViewFullPhoto = ViewFullSize;
  host.OpenShow = [&runner](const QString& show) { runner.start(show, {}); };
  CShowBuilderWizard::Run(host, row == kFunSlideShow ? ShowKind::SlideShow : ShowKind::ScreenSaver, this);
}

void CMainDialog::onPhotoListKey(int key) {
  if (key == Qt::Key_Delete) onCommand(kCommandDelete);
  else onCommand(kCommandView);
}

void CMainDialog::onPhotoListRightClick(int row, QPoint globalPos) {
  if (currentTab() != MainTab::MyPhotos || row < 0) return;
  updateCommandStates();
  m_photoPopup->popup(globalPos);
}

void CMainDialog::runPreferences() {
  CPropertiesDialog dialog(m_settings.emailAddress(), m_settings.emailServer(), this);
  if (dialog.exec() != QDialog::Accepted) return;
  m_settings.setEmailAddress(dialog.emailAddress());
  m_settings.setEmailServer(dialog.emailServer());
}

void CMainDialog::openHelp(int topic) {
  if (!m_helpWindow) m_helpWindow = new CHelpWindow(m_services.helpFolder, this);
  if (!m_helpWindow->showTopic(topic)) {
    prompter().showError(this, tr("The help pages could not be found in \"%1\".")
                                   .arg(QDir::toNativeSeparators(m_services.helpFolder)));
    return;
  }
  m_helpWindow->show();
  m_helpWindow->raise();
  m_helpWindow->activateWindow();
}

TakenChoice CMainDialog::askTakenName(const QString& name) {
  switch (prompter().askYesNoCancel(this, QString::fromLatin1(kTakenOnDrop).arg(name))) {
    case Prompter::Answer::Yes: return TakenChoice::Replace;
    case Prompter::Answer::No: return TakenChoice::KeepBoth;
    default: return TakenChoice::Skip;
  }
}

void CMainDialog::importFiles(const QStringList& files) {
  if (m_import) return;
  QList<PlannedImport> plan =
      PlanDropImport(files, m_store, [this](const QString& name) { return askTakenName(name); });
  if (plan.isEmpty()) {
    emit importFinished(0, false);
    return;
  }
  m_import = new DropImportJob(m_store, std::move(plan), this);
  const int total = m_import->total();
  if (total > 1) {
    m_progress = new QProgressDialog(QString::fromLatin1(kImporting), "Cancel", 0, total, this);
    m_progress->setObjectName("importProgress");
    m_progress->setWindowTitle("Brivane");
    m_progress->setWindowModality(Qt::WindowModal);
    m_progress->setMinimumDuration(0);
    m_progress->setAutoClose(false);
    m_progress->setAutoReset(false);
    m_progress->setValue(0);
    connect(m_progress, &QProgressDialog::canceled, m_import, &DropImportJob::cancel);
    connect(m_import, &DropImportJob::progressed, m_progress, [this](int done) { m_progress->setValue(done); });
  } else {
    QApplication::setOverrideCursor(Qt::WaitCursor);
  }
  connect(m_import, &DropImportJob::finished, this, &CMainDialog::onImportDone);
  m_import->start();
}

void CMainDialog::onImportDone(int imported, bool cancelled) {
  if (m_progress) {
    m_progress->deleteLater();
    m_progress = nullptr;
  } else {
    QApplication::restoreOverrideCursor();
  }
  m_import->deleteLater();
  m_import = nullptr;
  emit importFinished(imported, cancelled);
}

void CMainDialog::dragEnterEvent(QDragEnterEvent* event) {
  if (!m_import && event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void CMainDialog::dropEvent(QDropEvent* event) {
  QStringList files;
  for (const QUrl& url : event->mimeData()->urls())
    if (url.isLocalFile()) files.append(url.toLocalFile());
  event->acceptProposedAction();
  // The drop is released before the import asks or works.
  QTimer::singleShot(0, this, [this, files] { importFiles(files); });
}

bool CMainDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_content && event->type() == QEvent::Resize) layoutContent();
  if (watched == m_photoList && event->type() == QEvent::FocusOut) m_hint->hide();
  return QMainWindow::eventFilter(watched, event);
}

void CMainDialog::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  m_hint->hide();
}

void CMainDialog::closeEvent(QCloseEvent* event) {
  if (m_import) m_import->cancel();
  QMainWindow::closeEvent(event);
  if (event->isAccepted()) emit closed();
}
