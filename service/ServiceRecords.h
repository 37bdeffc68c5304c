#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "ServiceStore.h"

struct AccountDetails {
  std::string firstName, lastName, address1, address2, city, state, zip, country, phone, fax,
      mobile, email;
};

struct Account {
  std::string userId;
  std::string firstName, lastName, email;
  std::string passwordHash;
  std::string uploadPassword;
  std::int64_t spaceUsed = 0;
  std::int64_t spacePurchased = 0;
  std::string created;
};

struct PhotoRecord {
  std::string name;
  std::int64_t size = 0;
  std::int64_t width = 0;
  std::int64_t height = 0;
  std::string comment;
};

struct AlbumPage {
  int rows = 1;
  int columns = 1;
  // rows * columns photo names; empty for a free place.
  std::vector<std::string> slots;
};

struct Album {
  std::string albumId;
  std::string userId;
  std::string name;
  // num_pages pages; a page never laid out is one free place.
  std::vector<AlbumPage> pages;
};

// The service's records and the SQL that keeps them: the same text on every store.
// Everything throws StoreError when the database fails.
class ServiceRecords {
 public:
  explicit ServiceRecords(ServiceStore& store) : store_(store) {}

  void createTables();

  // A new account with a fresh random user id; returns that id.
  std::string addAccount(const AccountDetails& details, const std::string& passwordHash,
                         const std::string& uploadPassword, std::int64_t spacePurchased);
  std::optional<Account> account(const std::string& userId);
  std::vector<Account> accounts();
  // False when there is no such account.
  bool setSpaceUsed(const std::string& userId, std::int64_t bytes);
  bool setSpacePurchased(const std::string& userId, std::int64_t bytes);

  void savePhoto(const std::string& userId, const PhotoRecord& photo);
  void deletePhoto(const std::string& userId, const std::string& name);
  std::vector<PhotoRecord> photos(const std::string& userId);
  std::optional<PhotoRecord> photo(const std::string& userId, const std::string& name);

  // The album's id, made with a fresh random id when the user has no album of that name.
  std::string saveAlbum(const std::string& userId, const std::string& name, int pages);
  void deleteAlbum(const std::string& userId, const std::string& name);
  enum class PageResult { Saved, NoAlbum, NoPage };
  PageResult saveAlbumPage(const std::string& albumId, int page, int rows, int columns);
  enum class SlotResult { Saved, NoAlbum, NoPage, NoSlot };
  SlotResult saveAlbumSlot(const std::string& userId, const std::string& albumId, int page,
                           int slot, const std::string& photoName);
  // The user's albums in the order they were first saved.
  std::vector<Album> albums(const std::string& userId);
  std::optional<Album> album(const std::string& albumId);

 private:
  Album readAlbum(StoreTransaction& transaction, const std::vector<std::string>& row);

  ServiceStore& store_;
};
