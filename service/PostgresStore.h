#pragma once

#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "ServiceStore.h"

struct pg_conn;

// The service's data in PostgreSQL: a small pool of connections, one transaction on each.
class PostgresStore : public ServiceStore {
 public:
  explicit PostgresStore(const std::string& conninfo, int connections = 8);
  ~PostgresStore() override;
  PostgresStore(const PostgresStore&) = delete;
  PostgresStore& operator=(const PostgresStore&) = delete;

  void transact(const std::function<void(StoreTransaction&)>& work) override;

 private:
  pg_conn* connect() const;
  pg_conn* borrow();
  void giveBack(pg_conn* connection);

  std::string conninfo_;
  std::vector<pg_conn*> idle_;
  std::mutex mutex_;
  std::condition_variable returned_;
};
