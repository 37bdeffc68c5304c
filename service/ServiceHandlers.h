#pragma once

#include <cstdint>
#include <string>

#include "QueryValues.h"
#include "ServiceRecords.h"

namespace httplib {
class Server;
}

// Where the service can be reached: what its answers tell the client.
struct ServiceSite {
  std::string publicHost = "localhost";
  int httpPort = -1;  // -1: off
  int httpsPort = -1;
  int ftpPort = -1;
  // <data>/upload/photos: one folder per user id.
  std::string photoFolder;
  std::int64_t defaultSpace = std::int64_t{1} << 30;
  // What /update/brivane.txt tells the program about its newest version.
  std::string updateVersion = "1.1";
  std::string updateUrl;  // empty: the program's page here
  std::string updateSha256 = std::string(64, '0');

  // "https://host:port/" when TLS runs, else "http://host:port/".
  std::string webBase() const;
  // The plain-HTTP base when HTTP runs, else the HTTPS one.
  std::string albumBase() const;
};

struct ServiceReply {
  std::string body;
  std::string contentType = "text/plain; charset=utf-8";
  int status = 200;
};

// One function per request path. Each takes the request's query and answers; none
// throws (a failing database gives an ErrorMsg answer or an error page).
class ServiceHandlers {
 public:
  ServiceHandlers(ServiceRecords& records, ServiceSite site)
      : records_(records), site_(std::move(site)) {}

  // Answers path ("/getpaths.asp", ...) with the raw query; 404 for unknown paths.
  ServiceReply handle(const std::string& path, const std::string& rawQuery);
  // Serves every path of the service from server.
  void attach(httplib::Server& server);

  ServiceReply registerUser(const QueryValues& query);
  ServiceReply validateUser(const QueryValues& query);
  ServiceReply getPaths(const QueryValues& query);
  ServiceReply savePhoto(const QueryValues& query);
  ServiceReply deletePhoto(const QueryValues& query);
  ServiceReply saveSpace(const QueryValues& query);
  ServiceReply deleteAlbum(const QueryValues& query);
  ServiceReply saveAlbum(const QueryValues& query);
  ServiceReply saveAlbumPage(const QueryValues& query);
  ServiceReply saveAlbumPhoto(const QueryValues& query);
  ServiceReply getAlbums(const QueryValues& query);
  ServiceReply getWebSpace(const QueryValues& query);
  ServiceReply viewMyPhotos(const QueryValues& query);
  ServiceReply viewPhoto(const QueryValues& query);
  ServiceReply viewAlbum(const QueryValues& query);
  ServiceReply home();
  // The Brivane program's page (/brivane/): where its maker and its downloads are.
  ServiceReply programPage();
  // /update/brivane.txt: the newest version of the program, for its Live Update.
  ServiceReply updateNotice();
  // /photos/<UserId>/<file>
  ServiceReply photoFile(const std::string& path);

 private:
  std::string photoUrl(const std::string& userId, const std::string& file) const;
  bool fileExists(const std::string& userId, const std::string& file) const;
  std::string albumPageUrl(const std::string& userId, const std::string& albumId, int page) const;

  ServiceRecords& records_;
  ServiceSite site_;
};
