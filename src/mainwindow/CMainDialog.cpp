#include "mainwindow/CMainDialog.h"

#include <utility>

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

#include "controls/Prompter.h"
#include "help/CHelpWindow.h"
#include "help/HelpTopics.h"
#include "mainwindow/CPropertiesDialog.h"
#include "mainwindow/CommandIds.h"
#include "system/Folders.h"

namespace {
constexpr const char* kStopSemaphoreName = "ThumbStop";

QWidget* WelcomePanel(QWidget* parent) {
  auto* panel = new QFrame(parent);
  panel->setObjectName("welcomePanel");
  panel->setStyleSheet(
      "#welcomePanel { background: #f7f5ef; }"
      "QLabel#welcomeTitle { font-size: 22pt; font-weight: bold; color: #2b5d8a; }"
      "QLabel#welcomeText { font-size: 11pt; color: #33404d; }");
  auto* title = new QLabel(QObject::tr("Welcome to Brivane"), panel);
  title->setObjectName("welcomeTitle");
  title->setAlignment(Qt::AlignCenter);
  auto* text = new QLabel(
      QObject::tr("<p>Your photos are kept in the My Photos folder:<br><b>%1</b></p>"
                  "<p>Choose <b>Help &gt; How to use Brivane</b> to see what you can do.</p>")
          .arg(QDir::toNativeSeparators(GetMyPhotosFolder()).toHtmlEscaped()),
      panel);
  text->setObjectName("welcomeText");
  text->setAlignment(Qt::AlignCenter);
  text->setWordWrap(true);
  text->setTextInteractionFlags(Qt::TextSelectableByMouse);
  auto* layout = new QVBoxLayout(panel);
  layout->setContentsMargins(40, 40, 40, 40);
  layout->addStretch(2);
  layout->addWidget(title);
  layout->addSpacing(16);
  layout->addWidget(text);
  layout->addStretch(3);
  return panel;
}
}  // namespace

CMainDialog::CMainDialog(MainWindowServices services, QWidget* parent)
    : QMainWindow(parent), m_services(std::move(services)), m_settings(m_services.settingsFile) {
  setObjectName("102");
  setWindowTitle("Brivane");
  m_settings.read();
  if (m_services.semaphores) m_stopSemaphore = m_services.semaphores->open(kStopSemaphoreName);
  createMenus();
  // Failure (not allowed, or the name taken by a file) is not reported: the photo list
  // then simply shows nothing.
  QDir().mkpath(GetMyPhotosFolder());
  setCentralWidget(WelcomePanel(this));

  setMinimumSize(640, 480);
  resize(800, 600);
  if (const QScreen* screen = this->screen())
    setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(),
                                    screen->availableGeometry()));
}

CMainDialog::~CMainDialog() {
  if (m_stopSemaphore) m_stopSemaphore->release(1);
  m_settings.writeViewSettings();
}

void CMainDialog::createMenus() {
  QMenu* file = menuBar()->addMenu(tr("&File"));
  addCommand(file, kCommandPreferences, tr("&Preferences"));
  file->addSeparator();
  addCommand(file, kCommandExit, tr("E&xit"));
  QMenu* help = menuBar()->addMenu(tr("&Help"));
  addCommand(help, kCommandHelpContents, tr("&Contents"));
  addCommand(help, kCommandHowToUse, tr("&How to use Brivane"));
}

QAction* CMainDialog::addCommand(QMenu* menu, int command, const QString& text) {
  QAction* action = menu->addAction(text);
  action->setObjectName(QString::number(command));
  action->setData(command);
  connect(action, &QAction::triggered, this, [this, command] { onCommand(command); });
  return action;
}

QAction* CMainDialog::commandAction(int command) const {
  return findChild<QAction*>(QString::number(command));
}

bool CMainDialog::onCommand(int command) {
  switch (command) {
    case kCommandPreferences: runPreferences(); return true;
    case kCommandExit: close(); return true;
    case kCommandHelpContents: openHelp(kHelpContents); return true;
    case kCommandHowToUse: openHelp(kHelpHowToUse); return true;
    default: return false;
  }
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

void CMainDialog::closeEvent(QCloseEvent* event) {
  QMainWindow::closeEvent(event);
  if (event->isAccepted()) emit closed();
}
