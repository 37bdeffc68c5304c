#pragma once

#include <QString>

#include "inet/InternetOptions.h"

// Where the photo-sharing service is. Unless the settings or the environment name
// another, it is the reference service that runs on this computer (started beside the
// program by `make run`), trusted through the certificate it made on its first start.
struct ServiceSite {
  // "name[:port]" of the secure requests (paths, account, web space): https.
  QString host;
  // "name[:port]" of the pages people open in a browser: http.
  QString webSiteHost;
  // A certificate trusted besides the system's authorities; empty for none.
  QString caFile;

  // The settings file's ServiceHost, ServiceWebSiteHost and ServiceCAFile keys, each
  // overridden by BRIVANE_SERVICE_HOST, BRIVANE_SERVICE_WEB_HOST and
  // BRIVANE_SERVICE_CA_FILE when set.
  static ServiceSite Read(const QString& settingsFile);
  // The local reference service's certificate: $XDG_DATA_HOME/brivane/service/tls/cert.pem.
  static QString LocalServiceCertificate();

  // "name[:port]" without its port: the name texts show ("[::1]" for an IPv6 address).
  static QString HostName(const QString& hostAndPort);

  // Transfer options that trust this service's certificate.
  InternetOptions internetOptions() const;

  static constexpr const char* kDefaultHost = "localhost:8443";
  static constexpr const char* kDefaultWebSiteHost = "localhost:8080";
};
