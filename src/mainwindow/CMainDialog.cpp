#include "mainwindow/CMainDialog.h"

#include <utility>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QToolBar>

#include "photoalbums/CPhotoAlbumsPage.h"
#include "controls/BackgroundRunner.h"
#include "controls/CViewPhotoDialog.h"
#include "controls/CommandIds.h"
#include "controls/PictureEditTarget.h"
#include "controls/ProgramPicture.h"
#include "controls/Prompter.h"
#include "editing/CCaptionDialog.h"
#include "editing/CCropDialog.h"
#include "editing/CEffectsDialog.h"
#include "editing/CFrameDialog.h"
#include "editing/CRedEyeDialog.h"
#include "editing/CResizeDialog.h"
#include "fun/CFunProjectWizard.h"
#include "fil/ltfil.h"
#include "fun/CFunPage.h"
#include "getphoto/CDropImporter.h"
#include "getphoto/CGetPhotoWizard.h"
#include "getphoto/PhotoScanner.h"
#include "help/CHelpWindow.h"
#include "help/HelpCommands.h"
#include "help/HelpSites.h"
#include "help/HelpTopics.h"
#include "krn/ltkrn.h"
#include "printlabels/CPrintLabelsPage.h"
#include "library/PhotoStoreRepair.h"
#include "mainwindow/CMainTabBar.h"
#include "mainwindow/CMainTabControl.h"
#include "mail/MailPasswordStore.h"
#include "mainwindow/CPropertiesDialog.h"
#include "mainwindow/CommandEnable.h"
#include "mainwindow/CommandTable.h"
#include "mainwindow/MainLayout.h"
#include "mainwindow/ToolbarImages.h"
#include "myphotos/CMyPhotosPage.h"
#include "system/DetachedProgramRunner.h"
#include "system/Folders.h"
#include "system/RegistryStore.h"
#include "inet/InternetSession.h"
#include "library/ServiceSite.h"
#include "web/CPublishPage.h"
#include "web/PhotoLink.h"

namespace {
constexpr int kPhotoPopupMenu = 184;
const QColor kInstructionsColour(255, 255, 128);
}  // namespace

CMainDialog::CMainDialog(MainWindowServices services, QWidget* parent)
    : QMainWindow(parent), m_services(std::move(services)), m_settings(m_services.settingsFile),
      m_store(GetMyPhotosFolder()) {
  setObjectName("102");
  setWindowTitle("Brivane");
  // Services the application did not hand over are made here, once.
  if (!m_services.registry) {
    m_ownRegistry = std::make_unique<RegistryStore>();
    m_services.registry = m_ownRegistry.get();
  }
  if (!m_services.programRunner) {
    m_ownProgramRunner = std::make_unique<DetachedProgramRunner>();
    m_services.programRunner = m_ownProgramRunner.get();
  }
  if (!m_services.scanner) {
    m_ownScanner = std::make_unique<TwainPhotoScanner>();
    m_services.scanner = m_ownScanner.get();
  }
  m_settings.read();
  InitBitmap(m_working, 0, 0, 0);
  // Failure (not allowed, or the name taken by a file) is not reported: the photo list
  // then simply shows nothing.
  MakeMyPhotosFolder();
  // Before the photo list first looks: a photo half stored when a run was killed is
  // finished, so every list and command agree on what is stored.
  RepairPhotoStore(m_store);
  m_templates = LoadLabelTemplates(GetProgramFolder() + QString::fromLatin1(LabelTemplateList::kFileName));
  m_runner = std::make_unique<BackgroundRunner>(this);
  m_dropImporter = new CDropImporter(*this, this);
  connect(m_dropImporter, &CDropImporter::finished, this, &CMainDialog::importFinished);

  QIcon icon;
  for (int size : {16, 32, 48, 256})
    icon.addFile(GetProgramFolder() + QStringLiteral("resources/brivane-%1.png").arg(size));
  setWindowIcon(icon);

  createActions();
  createMenus();
  createToolbar();
  createContent();
  createPages();
  setAcceptDrops(true);

  setCurrentTab(MainTab::MyPhotos);
  setMinimumSize(640, 480);
  resize(900, 640);
  if (const QScreen* screen = this->screen())
    setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(), screen->availableGeometry()));
}

CMainDialog::~CMainDialog() {
  // Work in the background uses the store and the pages: it ends before they go.
  m_runner.reset();
  // The pages stop what they run (the photo list's watcher) before the window's children go.
  for (CTabPage*& page : m_pages) {
    delete page;
    page = nullptr;
  }
  m_settings.writeViewSettings();
  FreeBitmap(m_working);
}

void CMainDialog::createActions() {
  for (const MenuDefinition& menu : MainMenuDefinition(serviceSiteName())) {
    for (const MenuEntry& entry : menu.entries) {
      if (entry.kind != MenuEntry::Kind::Command || m_actions.contains(entry.command)) continue;
      auto* action = new QAction(entry.text, this);
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
  for (const MenuDefinition& definition : MainMenuDefinition(serviceSiteName())) {
    QMenu* menu = menuBar()->addMenu(QString::fromLatin1(definition.title));
    QMenu* target = menu;
    for (const MenuEntry& entry : definition.entries) {
      switch (entry.kind) {
        case MenuEntry::Kind::Command: target->addAction(m_actions.value(entry.command)); break;
        case MenuEntry::Kind::Separator: target->addSeparator(); break;
        case MenuEntry::Kind::SubmenuBegin: target = menu->addMenu(entry.text); break;
        case MenuEntry::Kind::SubmenuEnd: target = menu; break;
      }
    }
  }
  m_photoPopup = new QMenu(this);
  m_photoPopup->setObjectName(QString::number(kPhotoPopupMenu));
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

void CMainDialog::createContent() {
  m_content = new QWidget(this);
  m_content->setObjectName("content");
  setCentralWidget(m_content);
  m_content->installEventFilter(this);

  m_tabs = new CMainTabControl(m_content);
  m_tabs->setObjectName("1007");

  auto* caption = new QLabel("Instructions", m_content);
  caption->setObjectName("instructionsCaption");
  QFont bold = caption->font();
  bold.setBold(true);
  caption->setFont(bold);
  m_instructionsCaption = caption;
  m_instructions = new QPlainTextEdit(m_content);
  m_instructions->setObjectName(QString::number(kInstructionsId));
  m_instructions->setReadOnly(true);
  m_instructions->setTextInteractionFlags(Qt::TextSelectableByMouse);
  QPalette yellow = m_instructions->palette();
  yellow.setColor(QPalette::Base, kInstructionsColour);
  yellow.setColor(QPalette::Text, Qt::black);
  m_instructions->setPalette(yellow);

  // One button serves the album and label tabs, which place it where they need it.
  m_pickPhoto = new QPushButton("P&ick a Photo", m_content);
  m_pickPhoto->setObjectName(QString::number(kPickPhotoButtonId));
  m_pickPhoto->hide();
  connect(m_pickPhoto, &QPushButton::clicked, this, [this] { onCommand(kCommandPickPhoto); });
}

void CMainDialog::createPages() {
  m_myPhotos = new CMyPhotosPage(*this, m_services.semaphores, m_content, this);
  m_fun = new CFunPage(*this, m_content, this);
  m_printLabels = new CPrintLabelsPage(*this, m_templates, m_content, this);
  m_photoAlbums = new CPhotoAlbumsPage(*this, m_templates, m_content, this);
  // Pages that name a photo follow it when My Photos renames or deletes it.
  connect(m_myPhotos, &CMyPhotosPage::photoRenamed, m_photoAlbums, &CPhotoAlbumsPage::photoRenamed);
  connect(m_myPhotos, &CMyPhotosPage::photoDeleted, m_photoAlbums, &CPhotoAlbumsPage::photoDeleted);
  m_publish = new CPublishPage(*this, *m_photoAlbums, m_content, this);
  // The album tab's web buttons need the service, which the Publish tab reaches.
  const auto albumButton = [this](int id, void (PublishToWeb::*command)()) {
    if (auto* button = qobject_cast<QPushButton*>(m_photoAlbums->control(id)))
      connect(button, &QPushButton::clicked, this, [this, command] { (m_publish->publishing().*command)(); });
  };
  albumButton(1159, &PublishToWeb::viewAlbumPage);
  albumButton(1112, &PublishToWeb::emailAlbumPage);
  m_pages = {m_myPhotos, m_photoAlbums, m_printLabels, m_publish, m_fun};
  QList<QPixmap> pictures;
  for (CTabPage* page : m_pages) {
    m_tabs->addTab(new QWidget(), page->tabText());
    pictures.append(LoadProgramPicture(GetProgramFolder() + page->tabPicture()));
    connect(page, &CTabPage::commandStateChanged, this, &CMainDialog::updateCommandStates);
  }
  m_tabs->mainTabBar()->setPictures(pictures);
  connect(m_tabs, &QTabWidget::currentChanged, this, &CMainDialog::showCurrentTab);
}

void CMainDialog::layoutContent() {
  if (!m_content || !m_tabs) return;
  const TabPageFrame frame = MainFrameLayout(m_content->size(), m_tabs->barHeight());
  QHash<int, QRect> at = LayoutFrameControls(frame);
  const CTabPage* current = page(currentTab());
  const QHash<int, QRect> placed = current->layout(frame);
  for (auto it = placed.cbegin(); it != placed.cend(); ++it) at.insert(it.key(), it.value());

  m_instructionsCaption->setGeometry(at.value(kInstructionsCaptionId));
  m_instructions->setGeometry(at.value(kInstructionsId));
  m_tabs->setGeometry(at.value(1007));
  m_pickPhoto->setVisible(at.contains(kPickPhotoButtonId));
  if (at.contains(kPickPhotoButtonId)) m_pickPhoto->setGeometry(at.value(kPickPhotoButtonId));
  for (auto it = placed.cbegin(); it != placed.cend(); ++it)
    if (QWidget* control = current->control(it.key())) control->setGeometry(it.value());
}

void CMainDialog::showCurrentTab() {
  const MainTab tab = currentTab();
  for (CTabPage* page : m_pages) page->setCurrent(page == this->page(tab));
  layoutContent();
  m_instructions->setPlainText(page(tab)->instructions());
  m_instructions->moveCursor(QTextCursor::Start);
  m_instructions->ensureCursorVisible();
  updateCommandStates();
  update();
}

MainTab CMainDialog::currentTab() const { return MainTab(qBound(0, m_tabs->currentIndex(), kMainTabCount - 1)); }

void CMainDialog::setCurrentTab(MainTab tab) {
  if (m_tabs->currentIndex() == int(tab)) showCurrentTab();
  else m_tabs->setCurrentIndex(int(tab));
}

CommandState CMainDialog::commandState() const {
  CommandState state;
  state.tab = currentTab();
  for (const CTabPage* page : m_pages) page->addCommandState(state);
  return state;
}

void CMainDialog::updateCommandStates() {
  if (!m_pages.back()) return;  // pages still being made
  const CommandState state = commandState();
  for (auto it = m_actions.cbegin(); it != m_actions.cend(); ++it)
    it.value()->setEnabled(IsCommandEnabled(it.key(), state));
}

PhotoListModel& CMainDialog::photoList() { return m_myPhotos->photoModel(); }

void CMainDialog::viewFullSize(const ImageBitmap& picture, const QString& name) {
  CViewPhotoDialog view(picture, name, QApplication::activeWindow());
  view.exec();
}

QString CMainDialog::serviceSiteName() const {
  return HelpSites::Read(m_settings.file()).serviceSiteName();
}

InternetSession* CMainDialog::internetSession() {
  if (!m_internet) m_internet = InternetSession::Open(ServiceSite::Read(m_settings.file()).internetOptions());
  return m_internet.get();
}

void CMainDialog::popupMenu(int menuId, const QPoint& globalPos) {
  if (menuId != kPhotoPopupMenu) return;
  updateCommandStates();
  m_photoPopup->popup(globalPos);
}

bool CMainDialog::onCommand(int command) {
  if (command != kCommandPickPhoto && !m_actions.contains(command)) return false;
  switch (command) {
    case kCommandPreferences: runPreferences(); return true;
    case kCommandExit: close(); return true;
    case kCommandHelpContents: openHelp(kHelpContents); return true;
    case kCommandHowToUse: openHelp(kHelpHowToUse); return true;
    case kCommandVisitVeldano: HelpCommands(*this).visitMaker(); return true;
    case kCommandVisitService: HelpCommands(*this).visitService(); return true;
    case kCommandAbout: HelpCommands(*this).about(); return true;
    case kCommandLiveUpdate:
      // The module's "close for the update": after the command, as the user's Exit would.
      if (HelpCommands(*this).liveUpdate() != 0) QTimer::singleShot(0, this, &QWidget::close);
      return true;
    case kCommandGetPhoto: runGetPhoto(); return true;
    case kCommandEnhance: runEditing<CEffectsDialog>(command); return true;
    case kCommandCrop: runEditing<CCropDialog>(command); return true;
    case kCommandFrame: runEditing<CFrameDialog>(command); return true;
    case kCommandCaption: runEditing<CCaptionDialog>(command); return true;
    case kCommandRedEye: runEditing<CRedEyeDialog>(command); return true;
    case kCommandResize: runEditing<CResizeDialog>(command); return true;
    case kCommandFunSportsCard:
    case kCommandFunCalendar:
    case kCommandFunMagazine:
    case kCommandFunGreetingCard: runFunProject(command); return true;
    case kCommandLookOnline: m_publish->publishing().viewMyPhotosOnline(); return true;
    case kCommandEmailPhoto:
      if (currentTab() == MainTab::MyPhotos) EmailPhotoLink(*this, m_myPhotos->selectedStem());
      return true;
    default:
      // A command the current tab does not take belongs to a feature still to come; its
      // menu item and enable rule are in place.
      page(currentTab())->onCommand(command);
      return true;
  }
}

void CMainDialog::runGetPhoto() {
  setCurrentTab(MainTab::MyPhotos);
  {
    CGetPhotoWizard wizard(*this, m_services.scanner, this);
    emit getPhotoWizardOpened(&wizard);
    wizard.exec();
  }
  // What the wizard left in the working bitmap (a thumbnail, a picture not stored) goes.
  FreeBitmap(m_working);
  InitBitmap(m_working, 0, 0, 0);
  update();
}

template <class Dialog>
void CMainDialog::runEditing(int command) {
  const std::unique_ptr<PictureEditTarget> target = page(currentTab())->editTarget(command);
  if (!target) return;
  Dialog dialog(*this, *target, this);
  emit editingDialogOpened(&dialog);
  dialog.exec();
  update();
}

void CMainDialog::runFunProject(int command) {
  // A copy of the current photo: the photo itself, or the label's picture, stays as it is.
  ImageBitmap photo;
  if (std::unique_ptr<PictureEditTarget> target = page(currentTab())->editTarget(command)) photo = target->picture();
  m_working = std::move(photo);
  CFunProjectWizard::Run(*this, *ProjectForCommand(command), false, this);
  update();
}

void CMainDialog::runPreferences() {
  MailPasswordStore passwords(m_settings.file());
  MailPreferences now{m_settings.emailAddress(), m_settings.emailServer(), m_settings.emailPort(),
                      m_settings.emailSecurity(), m_settings.emailUser(), {}};
  if (!now.user.isEmpty()) now.password = passwords.Load(now.emailServer, now.user);
  CPropertiesDialog dialog(now, this);
  if (dialog.exec() != QDialog::Accepted) return;
  const MailPreferences chosen = dialog.preferences();
  m_settings.setEmailAddress(chosen.emailAddress);
  m_settings.setEmailServer(chosen.emailServer);
  m_settings.setEmailPort(chosen.port);
  m_settings.setEmailSecurity(chosen.security);
  m_settings.setEmailUser(chosen.user);
  // The password lives with the server and user it belongs to.
  if (!now.user.isEmpty() && (now.user != chosen.user || now.emailServer != chosen.emailServer))
    passwords.Forget(now.emailServer, now.user);
  if (!chosen.user.isEmpty() && !passwords.Store(chosen.emailServer, chosen.user, chosen.password))
    prompter().showError(this, tr("The mail password could not be kept."));
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

void CMainDialog::importFiles(const QStringList& files) { m_dropImporter->importFiles(files); }

bool CMainDialog::isImporting() const { return m_dropImporter->isImporting(); }

QProgressDialog* CMainDialog::importProgress() const { return isImporting() ? m_runner->progressBox() : nullptr; }

void CMainDialog::dragEnterEvent(QDragEnterEvent* event) {
  if (!isImporting() && event->mimeData()->hasUrls()) event->acceptProposedAction();
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
  return QMainWindow::eventFilter(watched, event);
}

void CMainDialog::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  if (m_myPhotos) m_myPhotos->hideHint();
}

void CMainDialog::closeEvent(QCloseEvent* event) {
  m_runner->stopAll();
  QMainWindow::closeEvent(event);
  if (event->isAccepted()) emit closed();
}
