#include "update/UpdateRequest.h"

#include <memory>

#include <curl/curl.h>

namespace {
constexpr long kConnectSeconds = 10;
constexpr long kTotalSeconds = 20;

struct Transfer {
  std::string body;
  bool tooLong = false;
  const std::function<bool()>* stopRequested = nullptr;
  bool stopped = false;
  // The blank line after the headers came: a connection closed before it is a broken
  // answer, which libcurl lets pass as an empty one.
  bool headersEnded = false;
};

size_t ReceiveHeader(char* data, size_t size, size_t count, void* user) {
  const size_t bytes = size * count;
  const std::string line(data, bytes);
  if (line == "\r\n" || line == "\n") static_cast<Transfer*>(user)->headersEnded = true;
  return bytes;
}

size_t Receive(char* data, size_t size, size_t count, void* user) {
  auto* transfer = static_cast<Transfer*>(user);
  const size_t bytes = size * count;
  if (transfer->body.size() + bytes > kUpdateAnswerLimit) {
    transfer->tooLong = true;
    return 0;
  }
  transfer->body.append(data, bytes);
  return bytes;
}

int Progress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  auto* transfer = static_cast<Transfer*>(user);
  if (*transfer->stopRequested && (*transfer->stopRequested)()) transfer->stopped = true;
  return transfer->stopped ? 1 : 0;
}
}  // namespace

bool FetchUpdateText(const std::string& url, const std::string& userAgent,
                     const std::function<bool()>& stopRequested, std::string& body,
                     std::string& problem) {
  const std::unique_ptr<CURL, void (*)(CURL*)> curl(curl_easy_init(), curl_easy_cleanup);
  if (!curl) {
    problem = "the internet library could not be started.";
    return false;
  }
  Transfer transfer;
  transfer.stopRequested = &stopRequested;
  char errorText[CURL_ERROR_SIZE] = {};
  CURL* handle = curl.get();
  curl_easy_setopt(handle, CURLOPT_URL, url.c_str());
  curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(handle, CURLOPT_USERAGENT, userAgent.c_str());
  curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT, kConnectSeconds);
  curl_easy_setopt(handle, CURLOPT_TIMEOUT, kTotalSeconds);
  // Time-outs without signals: the program has other threads.
  curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, Receive);
  curl_easy_setopt(handle, CURLOPT_WRITEDATA, &transfer);
  curl_easy_setopt(handle, CURLOPT_HEADERFUNCTION, ReceiveHeader);
  curl_easy_setopt(handle, CURLOPT_HEADERDATA, &transfer);
  curl_easy_setopt(handle, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(handle, CURLOPT_XFERINFOFUNCTION, Progress);
  curl_easy_setopt(handle, CURLOPT_XFERINFODATA, &transfer);
  curl_easy_setopt(handle, CURLOPT_ERRORBUFFER, errorText);
  const CURLcode result = curl_easy_perform(handle);
  if (transfer.stopped) {
    problem.clear();
    return false;
  }
  if (transfer.tooLong) {
    problem = "the update server's answer is longer than an update notice can be.";
    return false;
  }
  if (result == CURLE_OPERATION_TIMEDOUT) {
    problem = "the update server did not answer in time.";
    return false;
  }
  if (result != CURLE_OK) {
    const std::string detail = errorText[0] ? errorText : curl_easy_strerror(result);
    // Reached, but the answer stopped short.
    if (result == CURLE_RECV_ERROR || result == CURLE_PARTIAL_FILE || result == CURLE_GOT_NOTHING)
      problem = "the update server's answer broke off (" + detail + ").";
    else
      problem = "the update server could not be reached (" + detail + ").";
    return false;
  }
  if (!transfer.headersEnded) {
    problem = "the update server's answer broke off in its headers.";
    return false;
  }
  long status = 0;
  curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &status);
  if (status != 200) {
    problem = "the update server answered with HTTP status " + std::to_string(status) + ".";
    return false;
  }
  body = std::move(transfer.body);
  return true;
}
