#include "inet/InternetSession.h"

#include <mutex>

#include <curl/curl.h>

#include "inet/ServiceConnection.h"

namespace {
CURLcode GlobalInit() {
  static CURLcode result = CURLE_FAILED_INIT;
  static std::once_flag once;
  std::call_once(once, [] { result = curl_global_init(CURL_GLOBAL_DEFAULT); });
  return result;
}
}  // namespace

std::unique_ptr<InternetSession> InternetSession::Open(InternetOptions options, QString* error) {
  const CURLcode init = GlobalInit();
  if (init != CURLE_OK) {
    if (error) *error = QString::fromUtf8(curl_easy_strerror(init));
    return nullptr;
  }
  return std::unique_ptr<InternetSession>(new InternetSession(std::move(options)));
}

InternetSession::InternetSession(InternetOptions options) : m_options(std::move(options)) {}

InternetSession::~InternetSession() = default;

void InternetSession::setServiceConnection(std::unique_ptr<ServiceConnection> connection) {
  m_connection = std::move(connection);
}
