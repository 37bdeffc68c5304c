#include "ServiceRecords.h"

#include <ctime>
#include <map>

#include "RandomCodes.h"

namespace {
const char* const kTables[] = {
    R"(CREATE TABLE IF NOT EXISTS users (
  user_id TEXT PRIMARY KEY,
  first_name TEXT NOT NULL, last_name TEXT NOT NULL,
  address1 TEXT NOT NULL, address2 TEXT NOT NULL, city TEXT NOT NULL,
  state TEXT NOT NULL, zip TEXT NOT NULL, country TEXT NOT NULL,
  phone TEXT NOT NULL, fax TEXT NOT NULL, mobile TEXT NOT NULL, email TEXT NOT NULL,
  password_hash TEXT NOT NULL,
  upload_password TEXT NOT NULL,
  space_used BIGINT NOT NULL DEFAULT 0,
  space_purchased BIGINT NOT NULL,
  created TEXT NOT NULL))",
    R"(CREATE TABLE IF NOT EXISTS photos (
  user_id TEXT NOT NULL REFERENCES users(user_id) ON DELETE CASCADE,
  name TEXT NOT NULL, size BIGINT NOT NULL, width INTEGER NOT NULL, height INTEGER NOT NULL,
  comment TEXT NOT NULL, updated TEXT NOT NULL,
  PRIMARY KEY (user_id, name)))",
    R"(CREATE TABLE IF NOT EXISTS albums (
  album_id TEXT PRIMARY KEY, user_id TEXT NOT NULL REFERENCES users(user_id) ON DELETE CASCADE,
  name TEXT NOT NULL, num_pages INTEGER NOT NULL, position BIGINT NOT NULL,
  UNIQUE (user_id, name)))",
    R"(CREATE TABLE IF NOT EXISTS album_pages (
  album_id TEXT NOT NULL REFERENCES albums(album_id) ON DELETE CASCADE,
  page_num INTEGER NOT NULL, num_rows INTEGER NOT NULL, num_cols INTEGER NOT NULL,
  PRIMARY KEY (album_id, page_num)))",
    R"(CREATE TABLE IF NOT EXISTS album_slots (
  album_id TEXT NOT NULL, page_num INTEGER NOT NULL, photo_num INTEGER NOT NULL,
  photo_name TEXT NOT NULL,
  PRIMARY KEY (album_id, page_num, photo_num),
  FOREIGN KEY (album_id, page_num) REFERENCES album_pages(album_id, page_num) ON DELETE CASCADE))",
};

// How often a fresh random id may collide before we give up (1 in 900 million each).
constexpr int kIdAttempts = 20;

std::string UtcNow() {
  const std::time_t now = std::time(nullptr);
  std::tm parts{};
  gmtime_r(&now, &parts);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &parts);
  return text;
}

std::int64_t Number(const std::string& text) {
  try {
    return std::stoll(text);
  } catch (const std::exception&) {
    return 0;
  }
}

Account ReadAccount(const std::vector<std::string>& row) {
  Account account;
  account.userId = row[0];
  account.firstName = row[1];
  account.lastName = row[2];
  account.email = row[3];
  account.passwordHash = row[4];
  account.uploadPassword = row[5];
  account.spaceUsed = Number(row[6]);
  account.spacePurchased = Number(row[7]);
  account.created = row[8];
  return account;
}

const char* const kAccountColumns =
    "SELECT user_id, first_name, last_name, email, password_hash, upload_password, space_used, "
    "space_purchased, created FROM users";

PhotoRecord ReadPhoto(const std::vector<std::string>& row) {
  return {row[0], Number(row[1]), Number(row[2]), Number(row[3]), row[4]};
}
}  // namespace

void ServiceRecords::createTables() {
  store_.transact([](StoreTransaction& transaction) {
    for (const char* table : kTables) transaction.run(table);
  });
}

std::string ServiceRecords::addAccount(const AccountDetails& d, const std::string& passwordHash,
                                       const std::string& uploadPassword,
                                       std::int64_t spacePurchased) {
  for (int attempt = 0; attempt < kIdAttempts; ++attempt) {
    const std::string id = RandomDecimalId();
    const auto rows = store_.run(
        "INSERT INTO users (user_id, first_name, last_name, address1, address2, city, state, zip, "
        "country, phone, fax, mobile, email, password_hash, upload_password, space_used, "
        "space_purchased, created) VALUES ($1, $2, $3, $4, $5, $6, $7, $8, $9, $10, $11, $12, "
        "$13, $14, $15, 0, $16, $17) ON CONFLICT DO NOTHING RETURNING user_id",
        {id, d.firstName, d.lastName, d.address1, d.address2, d.city, d.state, d.zip, d.country,
         d.phone, d.fax, d.mobile, d.email, passwordHash, uploadPassword, spacePurchased,
         UtcNow()});
    if (!rows.empty()) return id;
  }
  throw StoreError("no free user id found");
}

std::optional<Account> ServiceRecords::account(const std::string& userId) {
  const auto rows = store_.run(std::string(kAccountColumns) + " WHERE user_id = $1", {userId});
  if (rows.empty()) return std::nullopt;
  return ReadAccount(rows[0]);
}

std::vector<Account> ServiceRecords::accounts() {
  std::vector<Account> list;
  for (const auto& row : store_.run(std::string(kAccountColumns) + " ORDER BY created, user_id"))
    list.push_back(ReadAccount(row));
  return list;
}

bool ServiceRecords::setSpaceUsed(const std::string& userId, std::int64_t bytes) {
  return !store_
              .run("UPDATE users SET space_used = $2 WHERE user_id = $1 RETURNING user_id",
                   {userId, bytes})
              .empty();
}

bool ServiceRecords::setSpacePurchased(const std::string& userId, std::int64_t bytes) {
  return !store_
              .run("UPDATE users SET space_purchased = $2 WHERE user_id = $1 RETURNING user_id",
                   {userId, bytes})
              .empty();
}

void ServiceRecords::savePhoto(const std::string& userId, const PhotoRecord& photo) {
  store_.run(
      "INSERT INTO photos (user_id, name, size, width, height, comment, updated) "
      "VALUES ($1, $2, $3, $4, $5, $6, $7) ON CONFLICT (user_id, name) DO UPDATE SET "
      "size = excluded.size, width = excluded.width, height = excluded.height, "
      "comment = excluded.comment, updated = excluded.updated",
      {userId, photo.name, photo.size, photo.width, photo.height, photo.comment, UtcNow()});
}

void ServiceRecords::deletePhoto(const std::string& userId, const std::string& name) {
  store_.run("DELETE FROM photos WHERE user_id = $1 AND name = $2", {userId, name});
}

std::vector<PhotoRecord> ServiceRecords::photos(const std::string& userId) {
  std::vector<PhotoRecord> list;
  for (const auto& row : store_.run("SELECT name, size, width, height, comment FROM photos "
                                    "WHERE user_id = $1 ORDER BY name",
                                    {userId}))
    list.push_back(ReadPhoto(row));
  return list;
}

std::optional<PhotoRecord> ServiceRecords::photo(const std::string& userId,
                                                 const std::string& name) {
  const auto rows = store_.run(
      "SELECT name, size, width, height, comment FROM photos WHERE user_id = $1 AND name = $2",
      {userId, name});
  if (rows.empty()) return std::nullopt;
  return ReadPhoto(rows[0]);
}

std::string ServiceRecords::saveAlbum(const std::string& userId, const std::string& name,
                                      int pages) {
  std::string albumId;
  store_.transact([&](StoreTransaction& t) {
    for (int attempt = 0; attempt < kIdAttempts && albumId.empty(); ++attempt) {
      const auto found =
          t.run("SELECT album_id FROM albums WHERE user_id = $1 AND name = $2", {userId, name});
      if (!found.empty()) {
        albumId = found[0][0];
        t.run("UPDATE albums SET num_pages = $2 WHERE album_id = $1", {albumId, pages});
        t.run("DELETE FROM album_slots WHERE album_id = $1 AND page_num >= $2", {albumId, pages});
        t.run("DELETE FROM album_pages WHERE album_id = $1 AND page_num >= $2", {albumId, pages});
        return;
      }
      // Nothing comes back when the id is taken, or another request made the album first:
      // the next round finds out which.
      const auto made = t.run(
          "INSERT INTO albums (album_id, user_id, name, num_pages, position) VALUES ($1, $2, $3, "
          "$4, (SELECT COALESCE(MAX(position), 0) + 1 FROM albums WHERE user_id = $2)) "
          "ON CONFLICT DO NOTHING RETURNING album_id",
          {RandomDecimalId(), userId, name, pages});
      if (!made.empty()) albumId = made[0][0];
    }
  });
  if (albumId.empty()) throw StoreError("no free album id found");
  return albumId;
}

void ServiceRecords::deleteAlbum(const std::string& userId, const std::string& name) {
  store_.transact([&](StoreTransaction& t) {
    const auto found =
        t.run("SELECT album_id FROM albums WHERE user_id = $1 AND name = $2", {userId, name});
    if (found.empty()) return;
    // Explicit, so that a connection without foreign-key cascades leaves nothing behind.
    t.run("DELETE FROM album_slots WHERE album_id = $1", {found[0][0]});
    t.run("DELETE FROM album_pages WHERE album_id = $1", {found[0][0]});
    t.run("DELETE FROM albums WHERE album_id = $1", {found[0][0]});
  });
}

ServiceRecords::PageResult ServiceRecords::saveAlbumPage(const std::string& albumId, int page,
                                                         int rows, int columns) {
  PageResult result = PageResult::Saved;
  store_.transact([&](StoreTransaction& t) {
    const auto found = t.run("SELECT num_pages FROM albums WHERE album_id = $1", {albumId});
    if (found.empty()) {
      result = PageResult::NoAlbum;
      return;
    }
    if (page >= Number(found[0][0])) {
      result = PageResult::NoPage;
      return;
    }
    t.run(
        "INSERT INTO album_pages (album_id, page_num, num_rows, num_cols) VALUES ($1, $2, $3, $4) "
        "ON CONFLICT (album_id, page_num) DO UPDATE SET num_rows = excluded.num_rows, "
        "num_cols = excluded.num_cols",
        {albumId, page, rows, columns});
    t.run("DELETE FROM album_slots WHERE album_id = $1 AND page_num = $2 AND photo_num >= $3",
          {albumId, page, std::int64_t{rows} * columns});
  });
  return result;
}

ServiceRecords::SlotResult ServiceRecords::saveAlbumSlot(const std::string& userId,
                                                         const std::string& albumId, int page,
                                                         int slot, const std::string& photoName) {
  SlotResult result = SlotResult::Saved;
  store_.transact([&](StoreTransaction& t) {
    if (t.run("SELECT album_id FROM albums WHERE album_id = $1 AND user_id = $2", {albumId, userId})
            .empty()) {
      result = SlotResult::NoAlbum;
      return;
    }
    const auto grid =
        t.run("SELECT num_rows, num_cols FROM album_pages WHERE album_id = $1 AND page_num = $2",
              {albumId, page});
    if (grid.empty()) {
      result = SlotResult::NoPage;
      return;
    }
    if (slot >= Number(grid[0][0]) * Number(grid[0][1])) {
      result = SlotResult::NoSlot;
      return;
    }
    if (photoName.empty()) {
      t.run("DELETE FROM album_slots WHERE album_id = $1 AND page_num = $2 AND photo_num = $3",
            {albumId, page, slot});
      return;
    }
    t.run(
        "INSERT INTO album_slots (album_id, page_num, photo_num, photo_name) VALUES ($1, $2, $3, "
        "$4) ON CONFLICT (album_id, page_num, photo_num) DO UPDATE SET photo_name = "
        "excluded.photo_name",
        {albumId, page, slot, photoName});
  });
  return result;
}

Album ServiceRecords::readAlbum(StoreTransaction& t, const std::vector<std::string>& row) {
  Album album;
  album.albumId = row[0];
  album.userId = row[1];
  album.name = row[2];
  const std::int64_t pageCount = Number(row[3]);
  album.pages.resize(static_cast<std::size_t>(pageCount));
  for (const auto& page :
       t.run("SELECT page_num, num_rows, num_cols FROM album_pages WHERE album_id = $1",
             {album.albumId})) {
    const std::int64_t number = Number(page[0]);
    if (number < 0 || number >= pageCount) continue;
    AlbumPage& target = album.pages[static_cast<std::size_t>(number)];
    target.rows = static_cast<int>(Number(page[1]));
    target.columns = static_cast<int>(Number(page[2]));
  }
  for (AlbumPage& page : album.pages)
    page.slots.resize(static_cast<std::size_t>(page.rows * page.columns));
  for (const auto& slot :
       t.run("SELECT page_num, photo_num, photo_name FROM album_slots WHERE album_id = $1",
             {album.albumId})) {
    const std::int64_t page = Number(slot[0]), place = Number(slot[1]);
    if (page < 0 || page >= pageCount) continue;
    auto& slots = album.pages[static_cast<std::size_t>(page)].slots;
    if (place >= 0 && place < static_cast<std::int64_t>(slots.size()))
      slots[static_cast<std::size_t>(place)] = slot[2];
  }
  return album;
}

std::vector<Album> ServiceRecords::albums(const std::string& userId) {
  std::vector<Album> list;
  store_.transact([&](StoreTransaction& t) {
    for (const auto& row : t.run("SELECT album_id, user_id, name, num_pages FROM albums "
                                 "WHERE user_id = $1 ORDER BY position, album_id",
                                 {userId}))
      list.push_back(readAlbum(t, row));
  });
  return list;
}

std::optional<Album> ServiceRecords::album(const std::string& albumId) {
  std::optional<Album> album;
  store_.transact([&](StoreTransaction& t) {
    const auto rows = t.run(
        "SELECT album_id, user_id, name, num_pages FROM albums WHERE album_id = $1", {albumId});
    if (!rows.empty()) album = readAlbum(t, rows[0]);
  });
  return album;
}
