#include "app/CMainApp.h"

#include <utility>

#include <QApplication>
#include <QCoreApplication>
#include <QEventLoop>
#include <QStyleFactory>

#include "controls/WidgetPrompter.h"
#include "fil/ltfil.h"
#include "krn/ltkrn.h"
#include "library/Settings.h"
#include "mainwindow/CMainDialog.h"
#include "system/DetachedProgramRunner.h"
#include "system/Folders.h"
#include "system/Profile.h"
#include "system/RegistryStore.h"

CMainApp::CMainApp(std::unique_ptr<Prompter> prompter) : m_prompter(std::move(prompter)) {}

CMainApp::~CMainApp() {
  // Nothing else to undo: COM and Windows Sockets were never started here.
  m_stopSemaphore.reset();
}

void CMainApp::initInstance() {
  // COM, the rich-edit library and Windows Sockets need no start on Linux: Qt's widgets
  // and the POSIX sockets are ready as they are.
  m_helpFolder = GetProgramFolder() + "help/";
  // The three-dimensional controls of old are the Fusion style's.
  QApplication::setStyle(QStyleFactory::create("Fusion"));
  m_stopSemaphore = m_semaphores.create(kStopSemaphoreName, 0, 1);
  // The name only: a display name set here would make Qt append " — Brivane" to the title of
  // every window, and the program's titles are its own.
  QApplication::setApplicationName(kApplicationName);
  // The desktop entry an installed Brivane comes with: its icon and name in the task bar.
  QGuiApplication::setDesktopFileName(QStringLiteral("org.brivane.Brivane"));
  if (!m_prompter) m_prompter = std::make_unique<WidgetPrompter>(kApplicationName);
  m_registry = std::make_unique<RegistryStore>();
  // Read now so that a registry file the program leaves alone is reported at start, not
  // only when a feature first reaches for it.
  m_registry->isUsable();
  m_programRunner = std::make_unique<DetachedProgramRunner>();
  loadBlankPage();
}

int CMainApp::run() {
  MainWindowServices services;
  services.prompter = m_prompter.get();
  services.semaphores = &m_semaphores;
  services.registry = m_registry.get();
  services.programRunner = m_programRunner.get();
  services.settingsFile = Settings::DefaultFile();
  services.helpFolder = m_helpFolder;
  services.blankPage = &m_blankPage;

  auto window = std::make_unique<CMainDialog>(std::move(services));
  QEventLoop loop;
  QObject::connect(window.get(), &CMainDialog::closed, &loop, &QEventLoop::quit);
  window->show();
  reportUnusedSettingsFiles(window.get());
  loop.exec();
  window.reset();
  return 0;
}

void CMainApp::loadBlankPage() {
  const QString file = GetProgramFolder() + "resources/blank-page.bmp";
  if (LoadPictureFile(file, m_blankPage) == SUCCESS) {
    if (m_blankPage.Width != kBlankPageWidth || m_blankPage.Height != kBlankPageHeight)
      ResizeBitmap(m_blankPage, kBlankPageWidth, kBlankPageHeight);
    return;
  }
  // Without the picture a plain white page of the same size serves.
  CreateBitmap(m_blankPage, 1, kBlankPageWidth, kBlankPageHeight, 24, ColorOrder::Bgr, nullptr,
               TopLeft);
  FillBitmap(m_blankPage, qRgb(255, 255, 255));
}

void CMainApp::reportUnusedSettingsFiles(QWidget* parent) {
  // Each file is noted once per process, so a file is reported once however often it is met.
  for (const ProfileNotice& notice : TakeProfileNotices()) {
    m_prompter->showError(
        parent, QCoreApplication::translate(
                    "CMainApp",
                    "The settings file \"%1\" is not used: %2.\n\nThe program starts with "
                    "its usual settings and leaves the file as it is; settings changed in this "
                    "run are not saved in it.")
                    .arg(notice.Path, notice.Reason));
  }
}
