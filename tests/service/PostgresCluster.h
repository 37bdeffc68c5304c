#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// A private PostgreSQL 15 server in a temporary folder, run as the "postgres" system user
// (the server refuses root) on a free port of 127.0.0.1. It ends with the test process.
class PostgresCluster {
 public:
  static constexpr const char* kBinaries = "/usr/lib/postgresql/15/bin/";
  // Whether the server's programs are installed.
  static bool available();

  PostgresCluster();
  ~PostgresCluster();
  bool isRunning() const { return running_; }
  QString error() const { return error_; }
  // A libpq connection string for a database made empty for the caller.
  QString freshDatabase();

 private:
  QTemporaryDir folder_;
  QProcess server_;
  int port_ = 0;
  int databases_ = 0;
  bool running_ = false;
  QString error_;
};
