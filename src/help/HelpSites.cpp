#include "help/HelpSites.h"

#include "library/ServiceSite.h"
#include "library/Settings.h"
#include "system/Profile.h"

namespace {
QString Setting(const QString& settingsFile, const char* key, const char* fallback) {
  const QString value = ReadProfileString(settingsFile, Settings::kSection, key).trimmed();
  return value.isEmpty() ? QString::fromLatin1(fallback) : value;
}

QString Escaped(const QString& text) {
  return QString(text).replace(QLatin1Char('&'), QLatin1String("&&"));
}
}  // namespace

HelpSites HelpSites::Read(const QString& settingsFile) {
  HelpSites sites;
  sites.MakerSite = Setting(settingsFile, "MakerSite", kDefaultMakerSite);
  if (!sites.MakerSite.startsWith(QLatin1String("http://"), Qt::CaseInsensitive) &&
      !sites.MakerSite.startsWith(QLatin1String("https://"), Qt::CaseInsensitive))
    sites.MakerSite.prepend(QLatin1String("http://"));
  if (!sites.MakerSite.endsWith(QLatin1Char('/'))) sites.MakerSite.append(QLatin1Char('/'));
  sites.ServiceWebSiteHost = ServiceSite::Read(settingsFile).webSiteHost;
  sites.UpdateHost = Setting(settingsFile, "UpdateHost", kDefaultUpdateHost);
  return sites;
}

QString HelpSites::serviceSiteUrl() const { return QLatin1String("http://") + ServiceWebSiteHost; }

QString HelpSites::serviceSiteName() const { return ServiceSite::HostName(ServiceWebSiteHost); }

QString VisitServiceMenuText(const QString& siteName) {
  return QLatin1String("Visit ") + Escaped(siteName) + QLatin1String(" on the web");
}

QString VisitServiceButtonText(const QString& siteName) {
  return QLatin1String("Visit &") + Escaped(siteName) + QLatin1String(" on the Web");
}

QString AboutInformationText(const QString& userId) {
  return userId.isEmpty() ? QString()
                          : QLatin1String("Your User Id is: ") + userId + QLatin1Char('\n');
}
