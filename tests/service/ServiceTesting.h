#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>
#include <memory>

#include "PostgresCluster.h"
#include "service/QueryValues.h"
#include "support/ReferenceService.h"

// A query value as the client sends it: percent-encoded; with quotes doubled for the
// keys that the protocol doubles.
inline QByteArray Sent(const std::string& value) {
  return QByteArray::fromStdString(PercentEncode(value));
}
inline QByteArray SentDoubled(std::string value) {
  std::string doubled;
  for (const char c : value) doubled += c == '\'' ? std::string("''") : std::string(1, c);
  return Sent(doubled);
}

// The service on SQLite or on a private PostgreSQL server (the test's parameter), with a
// default space of 5000 bytes so that answers are easy to write out.
class ServiceOnStore : public ::testing::TestWithParam<const char*> {
 protected:
  static void TearDownTestSuite() { cluster().reset(); }

  void SetUp() override {
    ReferenceService::Options options;
    options.arguments = {"--default-space", "5000"};
    if (std::string(GetParam()) == "PostgreSQL") {
      if (!PostgresCluster::available()) GTEST_SKIP() << "PostgreSQL 15 server is not installed";
      if (!cluster()) cluster() = std::make_unique<PostgresCluster>();
      ASSERT_TRUE(cluster()->isRunning()) << cluster()->error().toStdString();
      options.database = cluster()->freshDatabase();
      database_ = options.database.toStdString();
    }
    service_ = std::make_unique<ReferenceService>(options);
    ASSERT_TRUE(service_->isRunning()) << service_->error().toStdString();
    if (database_.empty()) sqlitePath_ = (service_->dataFolder() + "/service.db").toStdString();
  }

  QByteArray get(const QByteArray& pathAndQuery) const { return service_->get(pathAndQuery); }

  // Signs up an account; its user id.
  QByteArray signUp(const std::string& firstName = "Alice",
                    const std::string& password = "secret") {
    const QByteArray answer = get(
        "/register.asp?FirstName=" + Sent(firstName) +
        "&LastName=Smith&Address1=1%20Main%20Street&Address2=&City=Springfield&State=IL&Zip=62701"
        "&Country=USA&Phone=555-0100&Fax=&Mobile=&Email=alice%40example.com&Password=" +
        Sent(password));
    EXPECT_TRUE(answer.startsWith("UserId=") && answer.endsWith("\r\n")) << answer.toStdString();
    return answer.mid(7, answer.size() - 9);
  }

  static std::unique_ptr<PostgresCluster>& cluster() {
    static std::unique_ptr<PostgresCluster> instance;
    return instance;
  }

  std::unique_ptr<ReferenceService> service_;
  std::string database_;    // the connection string on PostgreSQL
  std::string sqlitePath_;  // the database file on SQLite
};
