#pragma once

#include <QString>

// The program's name and version as the About box and Live Update give them.
inline constexpr const char* kProductName = "Brivane";
inline constexpr const char* kProductVersion = "1.1";

// The web sites the Help menu reaches. Unless the settings name others, they are the
// reference service that runs on this computer, which also serves the program's page
// and its update notice.
struct HelpSites {
  // The maker's web site: "http://...", ending in "/".
  QString MakerSite;
  // "name[:port]" of the photo-sharing service's pages.
  QString ServiceWebSiteHost;
  // "name[:port]" that Live Update asks for the newest version.
  QString UpdateHost;

  // The settings file's MakerSite and UpdateHost keys, and the service's web site
  // (ServiceWebSiteHost, see ServiceSite). A maker's site without "http://" or the
  // ending "/" gets them.
  static HelpSites Read(const QString& settingsFile);

  // "http://" and the service's web site host, without a path.
  QString serviceSiteUrl() const;
  // The service's host name without its port: the name the menu and the About box show.
  QString serviceSiteName() const;

  static constexpr const char* kDefaultMakerSite = "http://localhost:8080/brivane/";
  static constexpr const char* kDefaultUpdateHost = "localhost:8080";
};

// "Visit <site> on the web", the Help menu's entry.
QString VisitServiceMenuText(const QString& siteName);
// "Visit &<site> on the Web", the About box's button: the accelerator on the site's
// first letter ("&&" stands for an "&" in the name).
QString VisitServiceButtonText(const QString& siteName);
// The About box's information text: "Your User Id is: <id>" and a line end, or nothing
// without an id.
QString AboutInformationText(const QString& userId);
