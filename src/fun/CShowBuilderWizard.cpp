#include "fun/CShowBuilderWizard.h"

#include <QDir>

#include "controls/BackgroundRunner.h"
#include "controls/FeatureHost.h"
#include "controls/Prompter.h"
#include "fun/CNamePavonelPage.h"
#include "fun/CPavonelPage.h"
#include "library/PhotoStore.h"
#include "shows/ShowBuild.h"
#include "system/Folders.h"
#include "system/ProgramRunner.h"

CShowBuilderWizard::CShowBuilderWizard(FeatureHost& host, ShowKind kind, QWidget* parent)
    : CWizardSheet(parent),
      m_host(host),
      m_programFolder(GetProgramFolder()),
      m_systemFolder(GetSystemFolder()),
      m_showFolder(GetUserDataFolder()),
      m_kind(kind) {
  setObjectName(QStringLiteral("showBuilderWizard"));
  m_photos = new CPavonelPage(*this);
  addPage(m_photos);
  m_name = new CNamePavonelPage(*this);
  addPage(m_name);
  resize(720, 460);
}

QString CShowBuilderWizard::build() {
  ShowBuildRequest request;
  request.Kind = m_kind;
  request.ProgramFolder = m_programFolder;
  request.PhotoFolder = m_host.photoStore().Folder();
  request.PhotoStems = m_stems;
  request.Name = m_name->showName();
  request.Folder = m_name->folder();
  request.UseAsScreenSaver = m_name->useAsScreenSaver();
  request.XScreenSaverFile = QDir::homePath() + QStringLiteral("/.xscreensaver");

  // Hundreds of megabytes of photos take a while: the window stays alive meanwhile.
  BackgroundTask task;
  task.text = QStringLiteral("Making your show...");
  task.objectName = QStringLiteral("showProgress");
  RegistryStore* registry = &m_host.registry();
  const ShowBuildResult result =
      m_host.backgroundRunner().run(task, [&request, registry](BackgroundJob&) { return BuildShow(request, registry); });

  Prompter& prompter = m_host.prompter();
  if (result.Result < 0 && result.Result != kShowRegistryFailed) {
    prompter.showError(parentWidget(), QStringLiteral("Brivane could not make '%1': %2.")
                                           .arg(request.Name.trimmed(), result.Error));
    return QString();
  }
  if (result.Result == kShowRegistryFailed)
    prompter.showError(parentWidget(), QStringLiteral("Brivane saved '%1' but could not make it "
                                                      "your screen saver.")
                                           .arg(result.Target));
  if (m_kind == ShowKind::SlideShow &&
      prompter.askYesNoCancel(parentWidget(), QStringLiteral("Would you like to see your slide show now?")) ==
          Prompter::Answer::Yes)
    m_host.programRunner().start(result.Target, {});
  return result.Target;
}

void CShowBuilderWizard::Run(FeatureHost& host, ShowKind kind, QWidget* parent) {
  CShowBuilderWizard wizard(host, kind, parent);
  wizard.setActivePage(wizard.photosPage());
  if (wizard.exec() == QDialog::Accepted) wizard.build();
}
