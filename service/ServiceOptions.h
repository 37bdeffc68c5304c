#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What the command line asks for. A port of -1 means "off", 0 "pick a free one".
struct ServiceOptions {
  enum class Command { Serve, SetSpace, ListUsers };

  Command command = Command::Serve;
  std::string dataFolder;
  std::string bindAddress = "127.0.0.1";
  std::string publicHost = "localhost";
  int httpPort = 8080;
  int httpsPort = 8443;
  int ftpPort = 2121;
  std::string ftpPassivePorts;
  // A libpq connection string; empty means SQLite in <data>/service.db.
  std::string database;
  std::int64_t defaultSpace = std::int64_t{1} << 30;
  std::string certFile;
  std::string keyFile;
  bool stopWithParent = false;
  // The update notice at /update/brivane.txt; an empty address means the program's page.
  std::string updateVersion = "1.1";
  std::string updateUrl;
  std::string updateSha256 = std::string(64, '0');
  // set-space USERID BYTES
  std::string userId;
  std::int64_t space = 0;

  std::string sqlitePath() const { return dataFolder + "/service.db"; }
};

// Reads the arguments (without the program name). On a mistake, error says what is wrong
// and the result is empty.
std::optional<ServiceOptions> ParseServiceOptions(const std::vector<std::string>& arguments,
                                                  std::string& error);

// The text shown for --help and after a mistake.
std::string ServiceUsage();

// A whole decimal number, nothing else around it.
std::optional<std::int64_t> ParseWholeNumber(const std::string& text);
