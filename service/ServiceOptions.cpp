#include "ServiceOptions.h"

#include <charconv>
#include <cstdlib>

namespace {
std::string DefaultDataFolder() {
  const char* dataHome = std::getenv("XDG_DATA_HOME");
  if (dataHome && *dataHome) return std::string(dataHome) + "/brivane/service";
  const char* home = std::getenv("HOME");
  return std::string(home && *home ? home : ".") + "/.local/share/brivane/service";
}

// "off" or a port number 0..65535.
bool ParsePort(const std::string& text, int& port) {
  if (text == "off") {
    port = -1;
    return true;
  }
  const auto number = ParseWholeNumber(text);
  if (!number || *number > 65535) return false;
  port = static_cast<int>(*number);
  return true;
}

bool ParsePortRange(const std::string& text) {
  const auto dash = text.find('-');
  if (dash == std::string::npos) return false;
  const auto low = ParseWholeNumber(text.substr(0, dash));
  const auto high = ParseWholeNumber(text.substr(dash + 1));
  return low && high && *low >= 1 && *low <= *high && *high <= 65535;
}
}  // namespace

std::optional<std::int64_t> ParseWholeNumber(const std::string& text) {
  std::int64_t value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || stop != end || value < 0) return std::nullopt;
  return value;
}

std::string ServiceUsage() {
  return "Usage:\n"
         "  brivane-service [--data DIR] [--bind ADDR] [--public-host NAME] [--http PORT|off]\n"
         "                  [--https PORT|off] [--ftp PORT|off] [--ftp-passive-ports A-B]\n"
         "                  [--database CONNINFO] [--default-space BYTES]\n"
         "                  [--cert FILE --key FILE] [--stop-with-parent]\n"
         "                  [--update-version V] [--update-url URL] [--update-sha256 HEX]\n"
         "  brivane-service [--data DIR] [--database CONNINFO] set-space USERID BYTES\n"
         "  brivane-service [--data DIR] [--database CONNINFO] list-users\n";
}

std::optional<ServiceOptions> ParseServiceOptions(const std::vector<std::string>& arguments,
                                                  std::string& error) {
  ServiceOptions options;
  options.dataFolder = DefaultDataFolder();
  std::vector<std::string> words;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& name = arguments[i];
    if (name.rfind("--", 0) != 0) {
      words.push_back(name);
      continue;
    }
    if (name == "--stop-with-parent") {
      options.stopWithParent = true;
      continue;
    }
    if (i + 1 >= arguments.size()) {
      error = name + " needs a value";
      return std::nullopt;
    }
    const std::string& value = arguments[++i];
    bool good = true;
    if (name == "--data") {
      options.dataFolder = value;
      good = !value.empty();
    } else if (name == "--bind") {
      options.bindAddress = value;
      good = !value.empty();
    } else if (name == "--public-host") {
      options.publicHost = value;
      good = !value.empty() && value.find_first_of("/ ,\t\r\n%") == std::string::npos;
    } else if (name == "--http") {
      good = ParsePort(value, options.httpPort);
    } else if (name == "--https") {
      good = ParsePort(value, options.httpsPort);
    } else if (name == "--ftp") {
      good = ParsePort(value, options.ftpPort);
    } else if (name == "--ftp-passive-ports") {
      options.ftpPassivePorts = value;
      good = ParsePortRange(value);
    } else if (name == "--database") {
      options.database = value;
    } else if (name == "--default-space") {
      const auto bytes = ParseWholeNumber(value);
      good = bytes.has_value();
      options.defaultSpace = bytes.value_or(0);
    } else if (name == "--cert") {
      options.certFile = value;
    } else if (name == "--key") {
      options.keyFile = value;
    } else if (name == "--update-version") {
      options.updateVersion = value;
    } else if (name == "--update-url") {
      options.updateUrl = value;
    } else if (name == "--update-sha256") {
      options.updateSha256 = value;
    } else {
      error = "unknown option " + name;
      return std::nullopt;
    }
    // The update notice is served as given, so that tests can serve any; only a line
    // break, which would add a line of its own, is refused.
    if (name.rfind("--update-", 0) == 0) good = value.find_first_of("\r\n") == std::string::npos;
    if (!good) {
      error = "bad value for " + name + ": '" + value + "'";
      return std::nullopt;
    }
  }

  if (options.certFile.empty() != options.keyFile.empty()) {
    error = "--cert and --key go together";
    return std::nullopt;
  }
  if (words.empty()) {
    if (options.httpPort < 0 && options.httpsPort < 0) {
      error = "--http and --https are both off: nothing to serve";
      return std::nullopt;
    }
    return options;
  }
  if (words[0] == "set-space" && words.size() == 3) {
    const auto bytes = ParseWholeNumber(words[2]);
    if (!bytes) {
      error = "set-space needs a number of bytes, not '" + words[2] + "'";
      return std::nullopt;
    }
    options.command = ServiceOptions::Command::SetSpace;
    options.userId = words[1];
    options.space = *bytes;
    return options;
  }
  if (words[0] == "list-users" && words.size() == 1) {
    options.command = ServiceOptions::Command::ListUsers;
    return options;
  }
  error = "unexpected arguments starting at '" + words[0] + "'";
  return std::nullopt;
}
