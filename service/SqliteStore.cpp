#include "SqliteStore.h"

#include <sqlite3.h>

namespace {
class SqliteTransaction : public StoreTransaction {
 public:
  explicit SqliteTransaction(sqlite3* db) : db_(db) {}

  SqlRows run(const std::string& sql, const std::vector<SqlValue>& values) override {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), static_cast<int>(sql.size()), &statement, nullptr) !=
        SQLITE_OK)
      throw StoreError(std::string("SQLite: ") + sqlite3_errmsg(db_));
    const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> owner(statement, sqlite3_finalize);
    for (std::size_t i = 0; i < values.size(); ++i) {
      const std::string name = "$" + std::to_string(i + 1);
      const int index = sqlite3_bind_parameter_index(statement, name.c_str());
      if (index == 0) continue;
      if (const auto* text = std::get_if<std::string>(&values[i]))
        sqlite3_bind_text(statement, index, text->data(), static_cast<int>(text->size()),
                          SQLITE_TRANSIENT);
      else
        sqlite3_bind_int64(statement, index, std::get<std::int64_t>(values[i]));
    }
    SqlRows rows;
    for (;;) {
      const int step = sqlite3_step(statement);
      if (step == SQLITE_DONE) break;
      if (step != SQLITE_ROW) throw StoreError(std::string("SQLite: ") + sqlite3_errmsg(db_));
      std::vector<std::string> row;
      const int columns = sqlite3_column_count(statement);
      for (int c = 0; c < columns; ++c) {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, c));
        row.emplace_back(text ? std::string(text, sqlite3_column_bytes(statement, c)) : "");
      }
      rows.push_back(std::move(row));
    }
    return rows;
  }

  void plain(const char* sql) {
    char* message = nullptr;
    if (sqlite3_exec(db_, sql, nullptr, nullptr, &message) != SQLITE_OK) {
      const std::string text = message ? message : "unknown error";
      sqlite3_free(message);
      throw StoreError("SQLite: " + text);
    }
  }

 private:
  sqlite3* db_;
};
}  // namespace

SqliteStore::SqliteStore(const std::string& path) {
  const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX;
  if (sqlite3_open_v2(path.c_str(), &db_, flags, nullptr) != SQLITE_OK) {
    const std::string message = db_ ? sqlite3_errmsg(db_) : "out of memory";
    sqlite3_close(db_);
    db_ = nullptr;
    throw StoreError("cannot open " + path + ": " + message);
  }
  // The FTP server holds the file open too: wait for it rather than fail.
  sqlite3_busy_timeout(db_, 10000);
  SqliteTransaction setup(db_);
  try {
    setup.plain("PRAGMA journal_mode=WAL; PRAGMA foreign_keys=ON; PRAGMA synchronous=NORMAL;");
  } catch (...) {
    sqlite3_close(db_);
    throw;
  }
}

SqliteStore::~SqliteStore() { sqlite3_close(db_); }

void SqliteStore::transact(const std::function<void(StoreTransaction&)>& work) {
  const std::lock_guard lock(mutex_);
  SqliteTransaction transaction(db_);
  // IMMEDIATE takes the write lock at once, so two processes never deadlock on upgrading.
  transaction.plain("BEGIN IMMEDIATE");
  try {
    work(transaction);
    transaction.plain("COMMIT");
  } catch (...) {
    sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    throw;
  }
}
