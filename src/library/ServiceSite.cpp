#include "library/ServiceSite.h"

#include <QFileInfo>
#include <QStandardPaths>

#include "library/Settings.h"
#include "system/Profile.h"

namespace {
QString Setting(const QString& settingsFile, const char* key, const char* environment, const QString& fallback) {
  const QString overridden = qEnvironmentVariable(environment);
  if (!overridden.isEmpty()) return overridden;
  const QString value = ReadProfileString(settingsFile, Settings::kSection, key).trimmed();
  return value.isEmpty() ? fallback : value;
}
}  // namespace

QString ServiceSite::LocalServiceCertificate() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
         QStringLiteral("/brivane/service/tls/cert.pem");
}

QString ServiceSite::HostName(const QString& hostAndPort) {
  const qsizetype colon = hostAndPort.lastIndexOf(QLatin1Char(':'));
  return colon > 0 && !hostAndPort.endsWith(QLatin1Char(']')) ? hostAndPort.left(colon) : hostAndPort;
}

InternetOptions ServiceSite::internetOptions() const {
  InternetOptions options;
  options.caFile = caFile;
  return options;
}

ServiceSite ServiceSite::Read(const QString& settingsFile) {
  ServiceSite site;
  site.host = Setting(settingsFile, "ServiceHost", "BRIVANE_SERVICE_HOST", QString::fromLatin1(kDefaultHost));
  site.webSiteHost =
      Setting(settingsFile, "ServiceWebSiteHost", "BRIVANE_SERVICE_WEB_HOST", QString::fromLatin1(kDefaultWebSiteHost));
  const QString local = LocalServiceCertificate();
  site.caFile = Setting(settingsFile, "ServiceCAFile", "BRIVANE_SERVICE_CA_FILE",
                        QFileInfo::exists(local) ? local : QString());
  return site;
}
