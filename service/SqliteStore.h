#pragma once

#include <mutex>
#include <string>

#include "ServiceStore.h"

struct sqlite3;

// The service's data in one SQLite file (WAL, so that the FTP server reads while we
// write). One connection, one transaction at a time: SQLite writes one at a time anyway.
class SqliteStore : public ServiceStore {
 public:
  explicit SqliteStore(const std::string& path);
  ~SqliteStore() override;
  SqliteStore(const SqliteStore&) = delete;
  SqliteStore& operator=(const SqliteStore&) = delete;

  void transact(const std::function<void(StoreTransaction&)>& work) override;

 private:
  sqlite3* db_ = nullptr;
  std::mutex mutex_;
};
