#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The HTML pages for people: one HTML5 document each, with its own CSS and no external
// resource; every text that comes from a user is escaped here.
namespace ServicePages {

struct PhotoCard {
  std::string name;
  std::string comment;
  std::string imageUrl;  // the thumbnail when there is one
  std::string pageUrl;   // viewphoto.asp
};

struct AlbumLink {
  std::string label;
  std::string url;
};

struct AlbumPlace {
  std::string name;  // empty for a free place
  std::string imageUrl;
};

struct AlbumSheet {
  std::string ownerName;
  std::string albumName;
  int pageNumber = 0;  // from 0
  int rows = 1;
  int columns = 1;
  std::vector<AlbumPlace> places;     // rows * columns
  std::vector<std::string> pageUrls;  // one per page of the album
};

// "&", "<", ">", '"' and "'" as entities.
std::string escape(const std::string& text);

std::string home();
// The Brivane program's page: its maker and where to get it.
std::string program();
// A page that only says something: title and one paragraph.
std::string message(const std::string& title, const std::string& text);
std::string myPhotos(const std::string& ownerName, const std::vector<PhotoCard>& photos,
                     const std::vector<AlbumLink>& albumPages);
std::string photo(const std::string& ownerName, const std::string& name, const std::string& comment,
                  const std::string& imageUrl, std::int64_t width, std::int64_t height);
std::string albumPage(const AlbumSheet& sheet);
std::string webSpace(const std::string& ownerName, const std::string& userId, std::int64_t used,
                     std::int64_t purchased);
// "1.5 MB" and the like.
std::string byteCount(std::int64_t bytes);
}  // namespace ServicePages
