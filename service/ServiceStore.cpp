#include "ServiceStore.h"

#include "PostgresStore.h"
#include "SqliteStore.h"

SqlRows ServiceStore::run(const std::string& sql, const std::vector<SqlValue>& values) {
  SqlRows rows;
  transact([&](StoreTransaction& transaction) { rows = transaction.run(sql, values); });
  return rows;
}

std::unique_ptr<ServiceStore> OpenServiceStore(const std::string& database,
                                               const std::string& sqlitePath) {
  if (database.empty()) return std::make_unique<SqliteStore>(sqlitePath);
  return std::make_unique<PostgresStore>(database);
}
