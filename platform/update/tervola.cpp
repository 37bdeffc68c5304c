#include "update/tervola.h"

#include <string>

#include "update/UpdateAnswer.h"
#include "update/UpdateRequest.h"

namespace {
// Letters only: the product names the file asked for.
bool IsProductName(const std::string& text) {
  if (text.empty() || text.size() > 64) return false;
  for (char c : text)
    if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))) return false;
  return true;
}

// "name[:port]" with a name of letters, digits, dots and dashes, or "[v6 address][:port]".
bool IsHostAndPort(const std::string& text) {
  if (text.empty() || text.size() > 255) return false;
  for (char c : text) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    if (!plain && std::string("-.:[]").find(c) == std::string::npos) return false;
  }
  return text.front() != '-' && text.front() != ':';
}

std::string Lowercase(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  return text;
}
}  // namespace

extern "C" int LiveUpdate(const char* productText, const char* versionText, const char* hostText,
                          UpdateCallback callback, void* context) {
  if (!callback) return 0;
  const std::string product = productText ? productText : "";
  const std::string version = versionText ? versionText : "";
  const std::string host = hostText ? hostText : "";
  const auto fail = [&](const std::string& reason) {
    callback(context, UPDATE_SHOW_ERROR,
             (product + " could not check for updates: " + reason).c_str());
    return 0;
  };
  if (!IsProductName(product) || !IsVersionNumber(version))
    return fail("the program did not name itself properly.");
  if (!IsHostAndPort(host)) return fail("the update server \"" + host + "\" is not a host name.");

  const std::string url = "http://" + host + "/update/" + Lowercase(product) + ".txt";
  std::string body;
  std::string problem;
  const auto stopRequested = [&] { return callback(context, UPDATE_STOP_REQUESTED, "") == 1; };
  if (!FetchUpdateText(url, product + "/" + version, stopRequested, body, problem)) {
    return problem.empty() ? 0 : fail(problem);
  }
  const std::optional<UpdateAnswer> answer = ParseUpdateAnswer(body, problem);
  if (!answer) return fail("the update server's answer was refused: " + problem);

  if (CompareVersions(answer->Version, version) <= 0) {
    callback(context, UPDATE_SHOW_MESSAGE, (product + " is up to date.").c_str());
    return 0;
  }
  const std::string question = "A newer version of " + product + " is available: version " +
                               answer->Version + " (you have version " + version +
                               ").\n\nDo you want to open its download page?\n" + answer->Download;
  if (callback(context, UPDATE_ASK_YES_NO, question.c_str()) == 1)
    callback(context, UPDATE_OPEN_ADDRESS, answer->Download.c_str());
  // The download page installs, not this module: the program carries on.
  return 0;
}
