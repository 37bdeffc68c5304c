#include "help/HelpCommands.h"

#include "controls/FeatureHost.h"
#include "controls/OpenInBrowser.h"
#include "help/CAboutDialog.h"
#include "help/HelpSites.h"
#include "help/LiveUpdate.h"
#include "library/Settings.h"
#include "system/Folders.h"

void HelpCommands::visitMaker() {
  OpenInBrowser(HelpSites::Read(m_host.settings().file()).MakerSite, m_host.hostWindow(),
                m_host.prompter());
}

void HelpCommands::visitService() {
  OpenInBrowser(HelpSites::Read(m_host.settings().file()).serviceSiteUrl(), m_host.hostWindow(),
                m_host.prompter());
}

void HelpCommands::about() {
  CAboutDialog dialog(m_host.settings().userId(),
                      HelpSites::Read(m_host.settings().file()).serviceSiteName(),
                      m_host.hostWindow());
  QObject::connect(&dialog, &CAboutDialog::visitMakerClicked, [this] { visitMaker(); });
  QObject::connect(&dialog, &CAboutDialog::visitServiceClicked, [this] { visitService(); });
  dialog.exec();
}

int HelpCommands::liveUpdate() {
  QWidget* window = m_host.hostWindow();
  Prompter& prompter = m_host.prompter();
  LiveUpdate update(GetProgramFolder() + QLatin1String(LiveUpdate::kModuleFile), window, prompter,
                    m_host.backgroundRunner(), [window, &prompter](const QString& address) {
                      OpenInBrowser(address, window, prompter);
                    });
  return update.run(HelpSites::Read(m_host.settings().file()).UpdateHost);
}
