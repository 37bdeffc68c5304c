#include "web/PublishToWeb.h"

#include "controls/FeatureHost.h"
#include "controls/OpenInBrowser.h"
#include "controls/Prompter.h"
#include "inet/QueryEscape.h"
#include "library/ServiceSite.h"
#include "library/Settings.h"
#include "web/CServiceAccountWizard.h"

namespace {
bool IsThisComputer(const QString& host) {
  QString name = ServiceSite::HostName(host);
  if (name.startsWith(QLatin1Char('['))) name = name.mid(1, name.size() - 2);
  return name.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0 || name.startsWith(QLatin1String("127.")) ||
         name == QLatin1String("::1");
}
}  // namespace

bool PublishToWeb::run() {
  if (!m_host.internetSession()) {
    m_host.prompter().showError(m_host.hostWindow(),
                                QStringLiteral("Brivane is unable to connect to the Internet.  Please try again."));
    return false;
  }
  Settings& settings = m_host.settings();
  if (settings.userId().isEmpty()) {
    CServiceAccountWizard wizard(m_host, ServiceSite::Read(settings.file()), m_host.hostWindow());
    if (wizard.exec() != QDialog::Accepted) return !settings.userId().isEmpty();
    // What the wizard stored is what counts from here on.
    settings.read();
  }
  return !settings.userId().isEmpty();
}

QString PublishToWeb::MyPhotosAddress(const QString& webSiteHost, const QString& serviceHost, const QString& userId,
                                      const QString& password) {
  const QString site = IsThisComputer(webSiteHost) ? QStringLiteral("http://") + webSiteHost
                                                   : QStringLiteral("https://") + serviceHost;
  return site + QStringLiteral("/viewmyphotos.asp?UserId=") + PercentEncodeQueryValue(userId) +
         QStringLiteral("&Pwd=") + PercentEncodeQueryValue(password);
}

void PublishToWeb::viewMyPhotosOnline() {
  Settings& settings = m_host.settings();
  if (settings.userId().isEmpty()) {
    m_host.prompter().showMessage(
        m_host.hostWindow(), QStringLiteral("You have not uploaded your photos to the web yet.  Please click <Ok>, and "
                                            "follow the on screen instructions."));
    run();
    if (settings.userId().isEmpty()) return;
  }
  const ServiceSite site = ServiceSite::Read(settings.file());
  OpenInBrowser(MyPhotosAddress(site.webSiteHost, site.host, settings.userId(), settings.password()),
                m_host.hostWindow(), m_host.prompter());
}
