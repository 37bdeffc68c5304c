#pragma once

#include <QString>

#include <curl/curl.h>

class InternetSession;
struct CurlHandle;

// One transfer on a reused libcurl handle: the handle keeps its connection between
// transfers, and each transfer starts from the options every transfer shares (agent,
// time-outs, certificate trust, the session's stop check).
class CurlTransfer {
 public:
  CurlTransfer(CurlHandle& curl, const InternetSession& session);
  CurlTransfer(const CurlTransfer&) = delete;
  CurlTransfer& operator=(const CurlTransfer&) = delete;

  CURL* handle() const { return m_handle; }
  // Runs the transfer, asking the session's stop check every tenth of a second.
  CURLcode perform();
  bool stopped() const { return m_stopped; }
  long responseCode() const;
  // A sentence for the user: what went wrong, with libcurl's detail. Never holds the
  // request's query or a password (libcurl's messages name hosts and ports only).
  QString errorText(CURLcode code) const;

 private:
  static int Progress(void* self, curl_off_t, curl_off_t, curl_off_t, curl_off_t);

  CURL* m_handle;
  CURLM* m_multi;
  const InternetSession& m_session;
  bool m_stopped = false;
  char m_errorBuffer[CURL_ERROR_SIZE] = {};
};

// An owned libcurl handle, and the multi handle that runs its transfers and keeps its
// connections open between them.
struct CurlHandle {
  CurlHandle() : handle(curl_easy_init()), multi(curl_multi_init()) {}
  ~CurlHandle() {
    if (handle) curl_easy_cleanup(handle);
    if (multi) curl_multi_cleanup(multi);
  }
  CurlHandle(const CurlHandle&) = delete;
  CurlHandle& operator=(const CurlHandle&) = delete;
  bool valid() const { return handle && multi; }
  CURL* handle;
  CURLM* multi;
};
