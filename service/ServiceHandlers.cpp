#include "ServiceHandlers.h"

#include <fcntl.h>
#include <httplib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <set>

#include "AnswerText.h"
#include "PasswordHash.h"
#include "PhotoNames.h"
#include "RandomCodes.h"
#include "ServiceOptions.h"
#include "ServicePages.h"

namespace {
// The HTTP library already refuses request lines over 8 KiB; this holds if it allows more.
constexpr std::size_t kMaxTarget = 64 * 1024;
constexpr int kMaxPages = 1000;
constexpr int kMaxGrid = 20;
constexpr std::size_t kMaxPassword = 64;
constexpr std::size_t kMaxDetail = 255;
constexpr std::int64_t kMaxPhotoFile = std::int64_t{1} << 30;
const char* const kWrongPassword = "The User Id or Password is not correct.";
const char* const kHtml = "text/html; charset=utf-8";

ServiceReply Text(std::string body) { return {std::move(body)}; }
ServiceReply Error(const std::string& sentence) { return Text(AnswerText::error(sentence)); }
ServiceReply Page(std::string body, int status = 200) { return {std::move(body), kHtml, status}; }

std::string NoAccount(const std::string& userId) {
  return "There is no account with the User Id " + userId + ".";
}

bool IsDecimalId(const std::string& text) {
  return text.size() == 9 &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A whole number in [low, high] from the query, or nullopt.
std::optional<std::int64_t> Whole(const QueryValues& query, const std::string& key,
                                  std::int64_t low, std::int64_t high) {
  const auto value = ParseWholeNumber(query.text(key));
  if (!value || *value < low || *value > high) return std::nullopt;
  return value;
}

std::string NumberProblem(const std::string& key, std::int64_t low, std::int64_t high) {
  return "The " + key + " value must be a whole number from " + std::to_string(low) + " to " +
         std::to_string(high) + ".";
}

std::string Trimmed(std::string text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  text.erase(0, first);
  text.erase(text.find_last_not_of(" \t") + 1);
  return text;
}

std::string Lowercase(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

std::string OwnerName(const Account& account) {
  return account.firstName.empty() ? account.lastName : account.firstName;
}
}  // namespace

std::string ServiceSite::webBase() const {
  if (httpsPort > 0) return "https://" + publicHost + ":" + std::to_string(httpsPort) + "/";
  return "http://" + publicHost + ":" + std::to_string(httpPort) + "/";
}

std::string ServiceSite::albumBase() const {
  if (httpPort > 0) return "http://" + publicHost + ":" + std::to_string(httpPort) + "/";
  return webBase();
}

std::string ServiceHandlers::photoUrl(const std::string& userId, const std::string& file) const {
  return "/photos/" + userId + "/" + PercentEncode(file);
}

std::string ServiceHandlers::albumPageUrl(const std::string& userId, const std::string& albumId,
                                          int page) const {
  return "/viewalbum.asp?UserId=" + userId + "&AlbumId=" + albumId +
         "&PageNum=" + std::to_string(page);
}

bool ServiceHandlers::fileExists(const std::string& userId, const std::string& file) const {
  struct stat info {};
  return ::lstat((site_.photoFolder + "/" + userId + "/" + file).c_str(), &info) == 0 &&
         S_ISREG(info.st_mode);
}

ServiceReply ServiceHandlers::registerUser(const QueryValues& query) {
  AccountDetails d;
  const auto field = [&](const char* key) { return Trimmed(query.text(key)); };
  d.firstName = field("FirstName");
  d.lastName = field("LastName");
  d.address1 = field("Address1");
  d.address2 = field("Address2");
  d.city = field("City");
  d.state = field("State");
  d.zip = field("Zip");
  d.country = field("Country");
  d.phone = field("Phone");
  d.fax = field("Fax");
  d.mobile = field("Mobile");
  d.email = field("Email");
  const std::string password = query.text("Password");

  const std::pair<const std::string*, const char*> required[] = {
      {&d.firstName, "Please give your first name."},
      {&d.lastName, "Please give your last name."},
      {&d.address1, "Please give your address."},
      {&d.city, "Please give your city."},
      {&d.state, "Please give your state."},
      {&d.zip, "Please give your zip code."},
      {&d.phone, "Please give your phone number."},
      {&d.email, "Please give your email address."}};
  for (const auto& [value, sentence] : required)
    if (value->empty()) return Error(sentence);
  for (const std::string* value :
       {&d.firstName, &d.lastName, &d.address1, &d.address2, &d.city, &d.state, &d.zip, &d.country,
        &d.phone, &d.fax, &d.mobile, &d.email})
    if (CharacterCount(*value) > kMaxDetail)
      return Error("Please keep each detail to at most 255 characters.");
  const auto at = d.email.find('@');
  if (at == std::string::npos || at == 0 ||
      d.email.find('.', d.email.size() >= 4 ? d.email.size() - 4 : 0) == std::string::npos)
    return Error("Please give a valid email address.");
  if (password.empty()) return Error("Please give a password.");
  if (CharacterCount(password) > kMaxPassword)
    return Error("Please give a password of at most 64 characters.");

  const std::string userId = records_.addAccount(d, PasswordHash::make(password),
                                                 RandomAlphanumeric(20), site_.defaultSpace);
  return Text(AnswerText().add("UserId", userId).text());
}

ServiceReply ServiceHandlers::validateUser(const QueryValues& query) {
  const auto account = records_.account(query.text("UserId"));
  if (account && PasswordHash::matches(query.text("Password"), account->passwordHash))
    return Text("SUCCESS");
  return Text(kWrongPassword);
}

ServiceReply ServiceHandlers::getPaths(const QueryValues& query) {
  const std::string userId = query.text("UserId");
  const auto account = records_.account(userId);
  if (!account) return Error(NoAccount(userId));
  const std::string ftpHost =
      site_.ftpPort > 0 ? site_.publicHost + ":" + std::to_string(site_.ftpPort) : site_.publicHost;
  return Text(AnswerText()
                  .add("UploadPath", "ftp://" + ftpHost + "/photos")
                  .add("UploadId", account->userId)
                  .add("UploadPwd", account->uploadPassword)
                  .add("WebPath", site_.webBase())
                  .add("DiskSpaceUsed", account->spaceUsed)
                  .add("DiskSpacePurchased", account->spacePurchased)
                  .add("ActiveFlag", "1")
                  .add("ErrorMsg", "")
                  .text());
}

ServiceReply ServiceHandlers::savePhoto(const QueryValues& query) {
  const std::string userId = query.text("UserId");
  PhotoRecord photo;
  photo.name = query.undoubled("Photo");
  photo.comment = query.undoubled("Comment");
  if (const auto problem = PhotoNames::problem(photo.name); !problem.empty()) return Error(problem);
  const std::pair<const char*, std::int64_t*> numbers[] = {
      {"Size", &photo.size}, {"W", &photo.width}, {"H", &photo.height}};
  for (const auto& [key, target] : numbers) {
    const std::int64_t high = std::string(key) == "Size" ? INT64_MAX : INT32_MAX;
    const auto value = Whole(query, key, 0, high);
    if (!value) return Error(NumberProblem(key, 0, high));
    *target = *value;
  }
  if (!records_.account(userId)) return Error(NoAccount(userId));
  records_.savePhoto(userId, photo);
  return Text(AnswerText::ok());
}

ServiceReply ServiceHandlers::deletePhoto(const QueryValues& query) {
  const std::string userId = query.text("UserId");
  const std::string name = query.undoubled("Photo");
  if (const auto problem = PhotoNames::problem(name); !problem.empty()) return Error(problem);
  if (!records_.account(userId)) return Error(NoAccount(userId));
  records_.deletePhoto(userId, name);
  return Text(AnswerText::ok());
}

ServiceReply ServiceHandlers::saveSpace(const QueryValues& query) {
  const std::string userId = query.text("UserId");
  const auto bytes = Whole(query, "WebSpace", 0, INT64_MAX);
  if (!bytes) return Error(NumberProblem("WebSpace", 0, INT64_MAX));
  if (!records_.setSpaceUsed(userId, *bytes)) return Error(NoAccount(userId));
  return Text(AnswerText::ok());
}

ServiceReply ServiceHandlers::deleteAlbum(const QueryValues& query) {
  const std::string userId = query.text("UserId");
  const std::string name = query.undoubled("Album");
  if (const auto problem = PhotoNames::problem(name); !problem.empty()) return Error(problem);
  if (!records_.account(userId)) return Error(NoAccount(userId));
  records_.deleteAlbum(userId, name);
  return Text(AnswerText::ok());
}

ServiceReply ServiceHandlers::saveAlbum(const QueryValues& query) {
  const std::string userId = query.text("UserId");
  const std::string name = query.undoubled("Album");
  if (const auto problem = PhotoNames::problem(name); !problem.empty()) return Error(problem);
  const auto pages = Whole(query, "NumPages", 0, kMaxPages);
  if (!pages) return Error(NumberProblem("NumPages", 0, kMaxPages));
  if (!records_.account(userId)) return Error(NoAccount(userId));
  const std::string albumId = records_.saveAlbum(userId, name, static_cast<int>(*pages));
  return Text(AnswerText().add("AlbumId", albumId).text());
}

ServiceReply ServiceHandlers::saveAlbumPage(const QueryValues& query) {
  const std::string albumId = query.text("AlbumId");
  const auto page = Whole(query, "PageNum", 0, kMaxPages - 1);
  const auto rows = Whole(query, "NumRows", 1, kMaxGrid);
  const auto columns = Whole(query, "NumCols", 1, kMaxGrid);
  if (!page) return Error(NumberProblem("PageNum", 0, kMaxPages - 1));
  if (!rows) return Error(NumberProblem("NumRows", 1, kMaxGrid));
  if (!columns) return Error(NumberProblem("NumCols", 1, kMaxGrid));
  switch (records_.saveAlbumPage(albumId, static_cast<int>(*page), static_cast<int>(*rows),
                                 static_cast<int>(*columns))) {
    case ServiceRecords::PageResult::NoAlbum:
      return Error("There is no album with the Album Id " + albumId + ".");
    case ServiceRecords::PageResult::NoPage:
      return Error("The album has no page " + std::to_string(*page) + ".");
    case ServiceRecords::PageResult::Saved:
      break;
  }
  // The client puts the user id where "%s" stands; nothing else may hold a "%".
  return Text(AnswerText()
                  .add("URL", site_.albumBase() + "viewalbum.asp?UserId=%s&AlbumId=" + albumId +
                                  "&PageNum=" + std::to_string(*page))
                  .text());
}

ServiceReply ServiceHandlers::saveAlbumPhoto(const QueryValues& query) {
  const std::string userId = query.text("UserId");
  const std::string albumId = query.text("AlbumId");
  const std::string name = query.undoubled("PhotoName");
  const auto page = Whole(query, "PageNum", 0, kMaxPages - 1);
  const auto slot = Whole(query, "PhotoNum", 0, kMaxGrid * kMaxGrid - 1);
  if (!page) return Error(NumberProblem("PageNum", 0, kMaxPages - 1));
  if (!slot) return Error(NumberProblem("PhotoNum", 0, kMaxGrid * kMaxGrid - 1));
  if (!name.empty())
    if (const auto problem = PhotoNames::problem(name); !problem.empty()) return Error(problem);
  switch (records_.saveAlbumSlot(userId, albumId, static_cast<int>(*page), static_cast<int>(*slot),
                                 name)) {
    case ServiceRecords::SlotResult::NoAlbum:
      return Error("You have no album with the Album Id " + albumId + ".");
    case ServiceRecords::SlotResult::NoPage:
      return Error("The album has no page " + std::to_string(*page) + " laid out.");
    case ServiceRecords::SlotResult::NoSlot:
      return Error("The page has no place " + std::to_string(*slot) + ".");
    case ServiceRecords::SlotResult::Saved:
      break;
  }
  return Text(AnswerText::ok());
}

ServiceReply ServiceHandlers::getAlbums(const QueryValues& query) {
  const auto albums = records_.albums(query.text("UserId"));
  AnswerText answer;
  answer.add("AlbumCount", static_cast<std::int64_t>(albums.size()));
  for (std::size_t i = 0; i < albums.size(); ++i) {
    answer.add("AlbumNum", static_cast<std::int64_t>(i))
        .add("AlbumName", albums[i].name)
        .add("NumPages", static_cast<std::int64_t>(albums[i].pages.size()));
    for (const AlbumPage& page : albums[i].pages) {
      answer.add("NumRows", page.rows).add("NumColumns", page.columns);
      // The client cuts the value's last three characters.
      for (std::size_t s = 0; s < page.slots.size(); ++s)
        answer.add("Photo" + std::to_string(s), page.slots[s] + "jpg");
    }
  }
  return Text(answer.text());
}

ServiceReply ServiceHandlers::getWebSpace(const QueryValues& query) {
  const std::string userId = query.text("UserId");
  const auto account = records_.account(userId);
  if (!account) return Page(ServicePages::message("Web space", NoAccount(userId)), 404);
  return Page(ServicePages::webSpace(OwnerName(*account), account->userId, account->spaceUsed,
                                     account->spacePurchased));
}

ServiceReply ServiceHandlers::viewMyPhotos(const QueryValues& query) {
  const std::string userId = query.text("UserId");
  const auto account = records_.account(userId);
  if (!account || !PasswordHash::matches(query.text("Pwd"), account->passwordHash))
    return Page(ServicePages::message("My photos", kWrongPassword), 403);
  const auto photos = records_.photos(userId);
  std::set<std::string> names;
  for (const PhotoRecord& photo : photos) names.insert(photo.name);
  std::vector<ServicePages::PhotoCard> cards;
  for (const PhotoRecord& photo : photos) {
    // A thumbnail is announced as a photo of its own: show it only through its photo.
    const bool isThumbnail = photo.name.size() > 3 &&
                             photo.name.compare(photo.name.size() - 3, 3, "_tn") == 0 &&
                             names.count(photo.name.substr(0, photo.name.size() - 3)) != 0;
    if (isThumbnail) continue;
    const std::string thumbnail = PhotoNames::thumbnailFile(photo.name);
    const std::string file =
        fileExists(userId, thumbnail) ? thumbnail : PhotoNames::photoFile(photo.name);
    cards.push_back({photo.name, photo.comment, photoUrl(userId, file),
                     "/viewphoto.asp?UserId=" + userId + "&Photo=" + PercentEncode(photo.name)});
  }
  std::vector<ServicePages::AlbumLink> links;
  for (const Album& album : records_.albums(userId)) {
    if (album.pages.empty()) continue;
    const auto count = album.pages.size();
    links.push_back({album.name + (count > 1 ? " (" + std::to_string(count) + " pages)" : ""),
                     albumPageUrl(userId, album.albumId, 0)});
  }
  return Page(ServicePages::myPhotos(OwnerName(*account), cards, links));
}

ServiceReply ServiceHandlers::viewPhoto(const QueryValues& query) {
  const std::string userId = query.text("UserId");
  const std::string name = query.text("Photo");
  const auto account = records_.account(userId);
  const auto photo = account ? records_.photo(userId, name) : std::nullopt;
  if (!photo) return Page(ServicePages::message("Photo", "There is no such photo here."), 404);
  return Page(ServicePages::photo(OwnerName(*account), photo->name, photo->comment,
                                  photoUrl(userId, PhotoNames::photoFile(photo->name)),
                                  photo->width, photo->height));
}

ServiceReply ServiceHandlers::viewAlbum(const QueryValues& query) {
  const std::string userId = query.text("UserId");
  const auto page = Whole(query, "PageNum", 0, kMaxPages - 1).value_or(0);
  const auto album = records_.album(query.text("AlbumId"));
  const auto account = album && album->userId == userId ? records_.account(userId) : std::nullopt;
  if (!account || page >= static_cast<std::int64_t>(album->pages.size()))
    return Page(ServicePages::message("Photo album", "There is no such album page here."), 404);
  const AlbumPage& grid = album->pages[static_cast<std::size_t>(page)];
  ServicePages::AlbumSheet sheet;
  sheet.ownerName = OwnerName(*account);
  sheet.albumName = album->name;
  sheet.pageNumber = static_cast<int>(page);
  sheet.rows = grid.rows;
  sheet.columns = grid.columns;
  for (const std::string& name : grid.slots)
    sheet.places.push_back(
        {name, name.empty() ? "" : photoUrl(userId, PhotoNames::photoFile(name))});
  for (std::size_t p = 0; p < album->pages.size(); ++p)
    sheet.pageUrls.push_back(albumPageUrl(userId, album->albumId, static_cast<int>(p)));
  return Page(ServicePages::albumPage(sheet));
}

ServiceReply ServiceHandlers::home() { return Page(ServicePages::home()); }

ServiceReply ServiceHandlers::photoFile(const std::string& path) {
  const ServiceReply missing{"Not found\n", "text/plain; charset=utf-8", 404};
  const std::string prefix = "/photos/";
  const auto slash = path.find('/', prefix.size());
  if (path.compare(0, prefix.size(), prefix) != 0 || slash == std::string::npos) return missing;
  const std::string userId = path.substr(prefix.size(), slash - prefix.size());
  const std::string file = path.substr(slash + 1);
  if (!IsDecimalId(userId) || file.empty() || file == "." || file == ".." ||
      file.find_first_of(std::string("/\\\0", 3)) != std::string::npos)
    return missing;
  const int fd = ::open((site_.photoFolder + "/" + userId + "/" + file).c_str(),
                        O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return missing;
  struct stat info {};
  ServiceReply reply{"", "image/jpeg", 200};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > kMaxPhotoFile) {
    ::close(fd);
    return missing;
  }
  reply.body.resize(static_cast<std::size_t>(info.st_size));
  std::size_t done = 0;
  while (done < reply.body.size()) {
    const ssize_t got = ::read(fd, reply.body.data() + done, reply.body.size() - done);
    if (got <= 0) break;
    done += static_cast<std::size_t>(got);
  }
  ::close(fd);
  reply.body.resize(done);
  return reply;
}

ServiceReply ServiceHandlers::programPage() { return Page(ServicePages::program()); }

ServiceReply ServiceHandlers::updateNotice() {
  const std::string url =
      site_.updateUrl.empty() ? site_.albumBase() + "brivane/" : site_.updateUrl;
  return Text("Version=" + site_.updateVersion + "\r\nDownload=" + url +
              "\r\nSHA256=" + site_.updateSha256 + "\r\n");
}

ServiceReply ServiceHandlers::handle(const std::string& path, const std::string& rawQuery) {
  using Handler = ServiceReply (ServiceHandlers::*)(const QueryValues&);
  static const std::map<std::string, std::pair<Handler, bool>> kRoutes = {
      // path -> handler, whether it answers with a page
      {"/register.asp", {&ServiceHandlers::registerUser, false}},
      {"/validateuser.asp", {&ServiceHandlers::validateUser, false}},
      {"/getpaths.asp", {&ServiceHandlers::getPaths, false}},
      {"/savephoto.asp", {&ServiceHandlers::savePhoto, false}},
      {"/deletephoto.asp", {&ServiceHandlers::deletePhoto, false}},
      {"/savespace.asp", {&ServiceHandlers::saveSpace, false}},
      {"/deletealbum.asp", {&ServiceHandlers::deleteAlbum, false}},
      {"/savealbum.asp", {&ServiceHandlers::saveAlbum, false}},
      {"/savealbumpage.asp", {&ServiceHandlers::saveAlbumPage, false}},
      {"/savealbumphoto.asp", {&ServiceHandlers::saveAlbumPhoto, false}},
      {"/getalbums.asp", {&ServiceHandlers::getAlbums, false}},
      {"/getwebspace.asp", {&ServiceHandlers::getWebSpace, true}},
      {"/viewmyphotos.asp", {&ServiceHandlers::viewMyPhotos, true}},
      {"/viewphoto.asp", {&ServiceHandlers::viewPhoto, true}},
      {"/viewalbum.asp", {&ServiceHandlers::viewAlbum, true}},
  };
  if (path.rfind("/photos/", 0) == 0) return photoFile(path);
  if (path == "/" || path == "/index.html") return home();
  if (path == "/brivane/") return programPage();
  if (path == "/update/brivane.txt") return updateNotice();
  // The old service ran on a server that ignored the case of paths.
  const auto route = kRoutes.find(Lowercase(path));
  if (route == kRoutes.end())
    return Page(ServicePages::message("Not found", "There is no page at this address."), 404);
  const auto [handler, isPage] = route->second;
  const auto failure = [isPage = isPage](const std::string& sentence, int status) {
    return isPage ? Page(ServicePages::message("Sorry", sentence), status) : Error(sentence);
  };
  const QueryValues query(rawQuery);
  if (!query.allUtf8())
    return failure("The request holds text that is not UTF-8 or holds NUL characters.", 400);
  try {
    return (this->*handler)(query);
  } catch (const std::exception& problem) {
    std::fprintf(stderr, "brivane-service: %s failed: %s\n", path.c_str(), problem.what());
    return failure("The service could not do this just now. Please try again later.", 500);
  }
}

void ServiceHandlers::attach(httplib::Server& server) {
  server.set_pre_routing_handler(
      [this](const httplib::Request& request, httplib::Response& response) {
        if (request.target.size() > kMaxTarget) {
          response.status = 414;
          response.set_content("Request too long\n", "text/plain; charset=utf-8");
          return httplib::Server::HandlerResponse::Handled;
        }
        if (request.method != "GET" && request.method != "HEAD") {
          response.status = 405;
          response.set_content("Only GET is served here\n", "text/plain; charset=utf-8");
          return httplib::Server::HandlerResponse::Handled;
        }
        const auto mark = request.target.find('?');
        const std::string query = mark == std::string::npos ? "" : request.target.substr(mark + 1);
        ServiceReply reply = handle(request.path, query);
        response.status = reply.status;
        response.set_content(std::move(reply.body), reply.contentType.c_str());
        return httplib::Server::HandlerResponse::Handled;
      });
}
