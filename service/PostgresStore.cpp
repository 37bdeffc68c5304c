#include "PostgresStore.h"

#include <libpq-fe.h>

#include <memory>

namespace {
using Result = std::unique_ptr<PGresult, void (*)(PGresult*)>;

std::string ErrorOf(PGconn* connection) {
  std::string message = PQerrorMessage(connection);
  while (!message.empty() && (message.back() == '\n' || message.back() == ' ')) message.pop_back();
  return "PostgreSQL: " + message;
}

class PostgresTransaction : public StoreTransaction {
 public:
  explicit PostgresTransaction(PGconn* connection) : connection_(connection) {}

  SqlRows run(const std::string& sql, const std::vector<SqlValue>& values) override {
    std::vector<std::string> texts;
    texts.reserve(values.size());
    for (const SqlValue& value : values) {
      if (const auto* text = std::get_if<std::string>(&value))
        texts.push_back(*text);
      else
        texts.push_back(std::to_string(std::get<std::int64_t>(value)));
    }
    std::vector<const char*> pointers;
    for (const std::string& text : texts) pointers.push_back(text.c_str());
    // Parameter types are left to the server, which infers them from the statement.
    Result result(PQexecParams(connection_, sql.c_str(), static_cast<int>(pointers.size()), nullptr,
                               pointers.data(), nullptr, nullptr, 0),
                  PQclear);
    const ExecStatusType status = PQresultStatus(result.get());
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK)
      throw StoreError(ErrorOf(connection_));
    SqlRows rows;
    const int count = PQntuples(result.get());
    const int columns = PQnfields(result.get());
    for (int r = 0; r < count; ++r) {
      std::vector<std::string> row;
      for (int c = 0; c < columns; ++c)
        row.emplace_back(PQgetvalue(result.get(), r, c), PQgetlength(result.get(), r, c));
      rows.push_back(std::move(row));
    }
    return rows;
  }

  void plain(const char* sql) {
    Result result(PQexec(connection_, sql), PQclear);
    if (PQresultStatus(result.get()) != PGRES_COMMAND_OK) throw StoreError(ErrorOf(connection_));
  }

 private:
  PGconn* connection_;
};
}  // namespace

PostgresStore::PostgresStore(const std::string& conninfo, int connections) : conninfo_(conninfo) {
  try {
    for (int i = 0; i < connections; ++i) idle_.push_back(connect());
  } catch (...) {
    for (PGconn* connection : idle_) PQfinish(connection);
    throw;
  }
}

PostgresStore::~PostgresStore() {
  for (PGconn* connection : idle_) PQfinish(connection);
}

PGconn* PostgresStore::connect() const {
  PGconn* connection = PQconnectdb(conninfo_.c_str());
  if (PQstatus(connection) != CONNECTION_OK) {
    const std::string message = ErrorOf(connection);
    PQfinish(connection);
    throw StoreError(message);
  }
  // Notices (such as "relation already exists, skipping") are not for our stderr.
  PQsetNoticeProcessor(
      connection, [](void*, const char*) {}, nullptr);
  return connection;
}

PGconn* PostgresStore::borrow() {
  std::unique_lock lock(mutex_);
  returned_.wait(lock, [this] { return !idle_.empty(); });
  PGconn* connection = idle_.back();
  idle_.pop_back();
  return connection;
}

void PostgresStore::giveBack(PGconn* connection) {
  {
    const std::lock_guard lock(mutex_);
    idle_.push_back(connection);
  }
  returned_.notify_one();
}

void PostgresStore::transact(const std::function<void(StoreTransaction&)>& work) {
  PGconn* connection = borrow();
  // A connection the server dropped is opened again before use.
  if (PQstatus(connection) != CONNECTION_OK) PQreset(connection);
  const struct Return {
    PostgresStore* store;
    PGconn* connection;
    ~Return() { store->giveBack(connection); }
  } returnWhenDone{this, connection};
  PostgresTransaction transaction(connection);
  transaction.plain("BEGIN");
  try {
    work(transaction);
    transaction.plain("COMMIT");
  } catch (...) {
    PQclear(PQexec(connection, "ROLLBACK"));
    throw;
  }
}
