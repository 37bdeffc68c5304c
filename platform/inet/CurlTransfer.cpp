#include "inet/CurlTransfer.h"

#include <QFileInfo>

#include "inet/InternetSession.h"

namespace {
// Debian's libcurl keeps the system's authorities here as well as in its bundle; naming
// the folder keeps them trusted when a service's own certificate is added as the file.
constexpr const char* kSystemCertificateFolder = "/etc/ssl/certs";
}  // namespace

CurlTransfer::CurlTransfer(CurlHandle& curl, const InternetSession& session)
    : m_handle(curl.handle), m_multi(curl.multi), m_session(session) {
  // Reset keeps the handle's open connections and TLS sessions.
  curl_easy_reset(m_handle);
  const InternetOptions& options = session.options();
  curl_easy_setopt(m_handle, CURLOPT_ERRORBUFFER, m_errorBuffer);
  curl_easy_setopt(m_handle, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(m_handle, CURLOPT_USERAGENT, options.agent.toUtf8().constData());
  curl_easy_setopt(m_handle, CURLOPT_CONNECTTIMEOUT, long(options.connectTimeoutSeconds));
  curl_easy_setopt(m_handle, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(m_handle, CURLOPT_LOW_SPEED_TIME, long(options.stallTimeoutSeconds));
  // The speed check does not watch an FTP server's replies: one that never ends its reply
  // line (or never sends it) would otherwise be waited for two minutes.
  curl_easy_setopt(m_handle, CURLOPT_SERVER_RESPONSE_TIMEOUT, long(options.stallTimeoutSeconds));
  curl_easy_setopt(m_handle, CURLOPT_PROTOCOLS_STR, "http,https,ftp");
  curl_easy_setopt(m_handle, CURLOPT_NOPROXY, "*");
  curl_easy_setopt(m_handle, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(m_handle, CURLOPT_XFERINFOFUNCTION, &CurlTransfer::Progress);
  curl_easy_setopt(m_handle, CURLOPT_XFERINFODATA, this);
  if (!options.caFile.isEmpty() && QFileInfo(options.caFile).isFile()) {
    curl_easy_setopt(m_handle, CURLOPT_CAINFO, options.caFile.toLocal8Bit().constData());
    curl_easy_setopt(m_handle, CURLOPT_CAPATH, kSystemCertificateFolder);
  }
}

int CurlTransfer::Progress(void* self, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  auto* transfer = static_cast<CurlTransfer*>(self);
  if (transfer->m_session.stopRequested()) transfer->m_stopped = true;
  return transfer->m_stopped ? 1 : 0;
}

CURLcode CurlTransfer::perform() {
  m_errorBuffer[0] = '\0';
  if (m_session.stopRequested()) {
    m_stopped = true;
    return CURLE_ABORTED_BY_CALLBACK;
  }
  // The multi interface, so that a stop is seen within a tenth of a second even while
  // the peer sends nothing (the progress callback may then wait a whole second).
  if (curl_multi_add_handle(m_multi, m_handle) != CURLM_OK) return CURLE_FAILED_INIT;
  CURLcode result = CURLE_OK;
  int running = 1;
  while (running) {
    if (curl_multi_perform(m_multi, &running) != CURLM_OK) {
      result = CURLE_FAILED_INIT;
      break;
    }
    if (!running) break;
    if (m_session.stopRequested()) {
      m_stopped = true;
      result = CURLE_ABORTED_BY_CALLBACK;
      break;
    }
    curl_multi_poll(m_multi, nullptr, 0, 100, nullptr);
  }
  int queued = 0;
  while (CURLMsg* message = curl_multi_info_read(m_multi, &queued))
    if (message->msg == CURLMSG_DONE && message->easy_handle == m_handle) result = message->data.result;
  curl_multi_remove_handle(m_multi, m_handle);
  return result;
}

long CurlTransfer::responseCode() const {
  long code = 0;
  curl_easy_getinfo(m_handle, CURLINFO_RESPONSE_CODE, &code);
  return code;
}

QString CurlTransfer::errorText(CURLcode code) const {
  if (code == CURLE_OK) return {};
  if (m_stopped || code == CURLE_ABORTED_BY_CALLBACK) return QStringLiteral("The transfer was stopped.");
  QString detail = QString::fromUtf8(m_errorBuffer);
  // libcurl notes there, first and for good, a harmless failure while it picks the address
  // for active mode; it is never why a transfer failed.
  if (detail.isEmpty() || detail.startsWith(QLatin1String("sa_addr inet_ntop()")))
    detail = QString::fromUtf8(curl_easy_strerror(code));
  switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST:
      return QStringLiteral("The server's name could not be found (%1).").arg(detail);
    case CURLE_COULDNT_CONNECT:
      return QStringLiteral("The server could not be reached (%1).").arg(detail);
    case CURLE_OPERATION_TIMEDOUT:
      return QStringLiteral("The server stopped answering (%1).").arg(detail);
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_SSL_CACERT_BADFILE:
      return QStringLiteral("A secure connection to the server could not be made (%1).").arg(detail);
    case CURLE_LOGIN_DENIED:
      return QStringLiteral("The server refused the log-in (%1).").arg(detail);
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR:
    case CURLE_GOT_NOTHING:
    case CURLE_PARTIAL_FILE:
      return QStringLiteral("The connection to the server broke off (%1).").arg(detail);
    default:
      return detail;
  }
}
