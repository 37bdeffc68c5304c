#include "fun/CShowBuilderWizard.h"

#include <thread>

#include <QApplication>
#include <QEventLoop>
#include <QProgressDialog>

#include "controls/Prompter.h"
#include "fun/CNamePavonelPage.h"
#include "fun/CPavonelPage.h"
#include "library/PhotoStore.h"
#include "shows/ShowBuild.h"

CShowBuilderWizard::CShowBuilderWizard(const ShowBuilderHost& host, ShowKind kind, QWidget* parent)
    : CWizardSheet(parent), m_host(host), m_kind(kind) {
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
  request.ProgramFolder = m_host.ProgramFolder;
  request.PhotoFolder = m_host.Store->Folder();
  request.PhotoStems = m_stems;
  request.Name = m_name->showName();
  request.Folder = m_name->folder();
  request.UseAsScreenSaver = m_name->useAsScreenSaver();

  // Hundreds of megabytes of photos take a while: the window stays alive meanwhile.
  QProgressDialog progress(QStringLiteral("Making your show..."), QString(), 0, 0, parentWidget());
  progress.setWindowTitle(QStringLiteral("Brivane"));
  progress.setWindowModality(Qt::WindowModal);
  progress.setMinimumDuration(500);
  QApplication::setOverrideCursor(Qt::WaitCursor);
  QEventLoop loop;
  ShowBuildResult result;
  std::thread worker([&] {
    result = BuildShow(request, m_host.Registry);
    QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
  });
  loop.exec();
  worker.join();
  QApplication::restoreOverrideCursor();
  progress.reset();

  if (result.Result < 0 && result.Result != kShowRegistryFailed) {
    m_host.Prompts->showError(parentWidget(), QStringLiteral("Brivane could not make '%1': %2.")
                                                  .arg(request.Name.trimmed(), result.Error));
    return QString();
  }
  if (result.Result == kShowRegistryFailed)
    m_host.Prompts->showError(parentWidget(), QStringLiteral("Brivane saved '%1' but could not make it "
                                                             "your screen saver.")
                                                  .arg(result.Target));
  if (m_kind == ShowKind::SlideShow &&
      m_host.Prompts->askYesNoCancel(parentWidget(), QStringLiteral("Would you like to see your slide show now?")) ==
          Prompter::Answer::Yes &&
      m_host.OpenShow)
    m_host.OpenShow(result.Target);
  return result.Target;
}

void CShowBuilderWizard::Run(const ShowBuilderHost& host, ShowKind kind, QWidget* parent) {
  CShowBuilderWizard wizard(host, kind, parent);
  wizard.setActivePage(wizard.photosPage());
  if (wizard.exec() == QDialog::Accepted) wizard.build();
}
