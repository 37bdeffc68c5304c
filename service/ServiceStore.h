#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

// A value bound to a placeholder $1..$n: text or a whole number.
using SqlValue = std::variant<std::string, std::int64_t>;
// Every column of every row as text (NULL reads as empty).
using SqlRows = std::vector<std::vector<std::string>>;

class StoreError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// One open transaction: statements run in it in order.
class StoreTransaction {
 public:
  virtual ~StoreTransaction() = default;
  // Runs one statement whose placeholders are $1..$n; throws StoreError.
  virtual SqlRows run(const std::string& sql, const std::vector<SqlValue>& values = {}) = 0;
};

// The small storage interface the service needs. SQLite and PostgreSQL implement it and
// run the same SQL text.
class ServiceStore {
 public:
  virtual ~ServiceStore() = default;
  // Runs work in one transaction: committed when it returns, rolled back when it throws
  // (the exception goes on). Safe to call from many threads at once.
  virtual void transact(const std::function<void(StoreTransaction&)>& work) = 0;

  // One statement in a transaction of its own.
  SqlRows run(const std::string& sql, const std::vector<SqlValue>& values = {});
};

// SQLite for a file path, PostgreSQL for a libpq connection string (empty: SQLite at
// sqlitePath). Throws StoreError when the database cannot be opened.
std::unique_ptr<ServiceStore> OpenServiceStore(const std::string& database,
                                               const std::string& sqlitePath);
