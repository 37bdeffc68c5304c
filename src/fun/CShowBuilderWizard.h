#pragma once

#include <QStringList>

#include "controls/CWizardSheet.h"
#include "shows/ShowKind.h"

class CNamePavonelPage;
class FeatureHost;
class CPavonelPage;

// The two pages that make a slide show or a screen saver: the photos, then the name and
// the folder. run() builds the show when the wizard ends with Finish.
class CShowBuilderWizard : public CWizardSheet {
  Q_OBJECT

 public:
  CShowBuilderWizard(FeatureHost& host, ShowKind kind, QWidget* parent = nullptr);

  FeatureHost& host() const { return m_host; }
  // Where the launcher, the players and the modules are.
  const QString& programFolder() const { return m_programFolder; }
  // Where screen savers go by default.
  const QString& systemFolder() const { return m_systemFolder; }
  // Where a slide show goes unless the user picks another folder: the user's own files.
  const QString& showFolder() const { return m_showFolder; }
  ShowKind kind() const { return m_kind; }
  CPavonelPage* photosPage() const { return m_photos; }
  CNamePavonelPage* namePage() const { return m_name; }

  // The photos in show order, set by the first page's Next.
  void setShowPhotos(const QStringList& stems) { m_stems = stems; }
  const QStringList& showPhotos() const { return m_stems; }

  // Builds what the pages chose (after Finish): under a busy box, then tells what failed,
  // or for a slide show offers to start it. The target, or "" when nothing was built.
  QString build();
  // The builder from the Fun list: the wizard, then the build.
  static void Run(FeatureHost& host, ShowKind kind, QWidget* parent);

 private:
  FeatureHost& m_host;
  QString m_programFolder;
  QString m_systemFolder;
  QString m_showFolder;
  ShowKind m_kind;
  CPavonelPage* m_photos;
  CNamePavonelPage* m_name;
  QStringList m_stems;
};
