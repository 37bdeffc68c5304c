#include "web/PhotoLink.h"

#include "controls/FeatureHost.h"
#include "controls/Prompter.h"
#include "inet/QueryEscape.h"
#include "library/ServiceSite.h"
#include "library/Settings.h"
#include "mail/EmailLink.h"

QString PhotoLinkAddress(const QString& webSiteHost, const QString& userId, const QString& stem) {
  QString name = stem;
  name.replace(QLatin1String("&&"), QLatin1String("&"));
  return QStringLiteral("http://") + webSiteHost + QStringLiteral("/viewphoto.asp?UserId=") +
         PercentEncodeQueryValue(userId) + QStringLiteral("&Photo=") + PercentEncodeQueryValue(name);
}

void EmailPhotoLink(FeatureHost& host, const QString& stem) {
  if (stem.isEmpty()) {
    host.prompter().showMessage(host.hostWindow(), QStringLiteral("Please select a photo to Email."));
    return;
  }
  const ServiceSite site = ServiceSite::Read(host.settings().file());
  SendLinkByEmail(host, PhotoLinkAddress(site.webSiteHost, host.settings().userId(), stem), QStringLiteral("photo"));
}
