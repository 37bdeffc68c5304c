#pragma once

#include <memory>

#include "controls/CWizardSheet.h"
#include "fun/FunProjects.h"
#include "krn/ImageBitmap.h"

class CCalendarPage;
class CFramePage;
class CFunProjectPage;
class CNamePhotoPage;
class CPickPhotoPage;
class CPrintPage;
class CPrintSaveFunPage;
class FeatureHost;
class SinglePhotoCommands;

// Turns one photo into a sports card, a calendar page, a magazine cover or a greeting card,
// then prints it, stores it as a new photo, or both. The photo comes in through the main
// window's working picture: put there by the caller, or picked on the first page when the
// wizard starts from the Fun list.
class CFunProjectWizard : public CWizardSheet {
  Q_OBJECT

 public:
  enum class Choice { None, Both, PrintOnly, SaveOnly };

  CFunProjectWizard(FeatureHost& host, FunProject project, bool fromFunList, QWidget* parent = nullptr);
  ~CFunProjectWizard() override;

  FeatureHost& host() const { return m_host; }
  const FunProjectInfo& info() const { return ProjectInfo(m_project); }
  FunProject project() const { return m_project; }

  // The project as it stands: the project page's picture, else the composed template.
  const ImageBitmap& projectPicture() const;
  Choice choice() const { return m_choice; }
  void setChoice(Choice choice) { m_choice = choice; }
  // Prints the project picture, after the printer setup.
  SinglePhotoCommands& photoOutput() const { return *m_output; }
  // The name stored under, after Finish on the name page; "" otherwise.
  const QString& storedName() const { return m_storedName; }
  void setStoredName(const QString& name) { m_storedName = name; }

  CPickPhotoPage* pickPage() const { return m_pick; }
  CFramePage* framePage() const { return m_frame; }
  CFunProjectPage* projectPage() const { return m_projectPage; }
  CPrintSaveFunPage* printSavePage() const { return m_printSave; }
  CPrintPage* printPage() const { return m_print; }
  CNamePhotoPage* namePage() const { return m_name; }

  // The wizard from the menu (the photo already in the working picture) or from the Fun
  // list; the working picture is empty again afterwards.
  static void Run(FeatureHost& host, FunProject project, bool fromFunList, QWidget* parent);

 private:
  FeatureHost& m_host;
  FunProject m_project;
  Choice m_choice = Choice::None;
  QString m_storedName;
  std::unique_ptr<SinglePhotoCommands> m_output;
  CPickPhotoPage* m_pick = nullptr;
  CFramePage* m_frame = nullptr;
  CFunProjectPage* m_projectPage = nullptr;
  CPrintSaveFunPage* m_printSave = nullptr;
  CPrintPage* m_print = nullptr;
  CNamePhotoPage* m_name = nullptr;
  ImageBitmap m_none;
};
