#include "fun/CFunProjectWizard.h"

#include "controls/FeatureHost.h"
#include "controls/SinglePhotoCommands.h"
#include "editing/CFramePage.h"
#include "fun/CCalendarPage.h"
#include "fun/CGreetingCardPage.h"
#include "fun/CMagazineCaptionPage.h"
#include "fun/CNamePhotoPage.h"
#include "fun/CPickPhotoPage.h"
#include "fun/CPrintPage.h"
#include "fun/CPrintSaveFunPage.h"
#include "fun/CSportsCardNamePage.h"
#include "krn/ltkrn.h"

CFunProjectWizard::CFunProjectWizard(FeatureHost& host, FunProject project, bool fromFunList, QWidget* parent)
    : CWizardSheet(parent), m_host(host), m_project(project) {
  setObjectName(QStringLiteral("funProjectWizard"));
  m_output = std::make_unique<SinglePhotoCommands>(host.photoStore(), host.prompter(), host.programRunner(),
                                                   host.registry(), this);
  const QString name = QString::fromLatin1(info().Name);
  if (fromFunList) {
    m_pick = new CPickPhotoPage(*this);
    addPage(m_pick);
  }
  if (project == FunProject::Calendar) {
    m_projectPage = new CCalendarPage(*this);
  } else {
    m_frame = new CFramePage(host);
    m_frame->setCaption(QStringLiteral("Create a %1").arg(name));
    m_frame->setHint(QStringLiteral("First, select the %1 you want.  Then you can move your photo or zoom in/out to "
                                    "fit it in the %1.  Move your photo by dragging it around and dropping it where "
                                    "you want it to rest inside the %1.")
                         .arg(name));
    m_frame->setFolder(info().Folder());
    addPage(m_frame);
    if (project == FunProject::SportsCard) m_projectPage = new CSportsCardNamePage(*this);
    if (project == FunProject::Magazine) m_projectPage = new CMagazineCaptionPage(*this);
    if (project == FunProject::GreetingCard) m_projectPage = new CGreetingCardPage(*this);
  }
  addPage(m_projectPage);
  m_printSave = new CPrintSaveFunPage(*this);
  addPage(m_printSave);
  m_print = new CPrintPage(*this);
  addPage(m_print);
  m_name = new CNamePhotoPage(*this);
  addPage(m_name);
  resize(860, 540);
}

CFunProjectWizard::~CFunProjectWizard() = default;

const ImageBitmap& CFunProjectWizard::projectPicture() const {
  if (const ImageBitmap* made = m_projectPage ? m_projectPage->madePicture() : nullptr; made && made->hasPixels())
    return *made;
  return m_frame ? m_frame->framedPicture() : m_none;
}

void CFunProjectWizard::Run(FeatureHost& host, FunProject project, bool fromFunList, QWidget* parent) {
  if (fromFunList) {
    FreeBitmap(host.workingPicture());
    InitBitmap(host.workingPicture(), 0, 0, 0);
  }
  {
    CFunProjectWizard wizard(host, project, fromFunList, parent);
    wizard.setActivePage(wizard.page(0));
    wizard.exec();
  }
  FreeBitmap(host.workingPicture());
  InitBitmap(host.workingPicture(), 0, 0, 0);
}
