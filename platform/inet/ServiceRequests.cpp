#include "inet/ServiceRequests.h"

#include <QByteArray>

#include "inet/CurlTransfer.h"
#include "inet/InternetSession.h"
#include "inet/ResponseText.h"
#include "inet/ServiceConnection.h"

namespace {

struct AnswerBody {
  QByteArray bytes;
  qint64 limit = 0;
  bool tooLong = false;
  // The blank line after the headers came: a connection closed before it is a broken
  // answer, which libcurl lets pass as an empty one.
  bool headersEnded = false;
};

size_t TakeHeader(char* data, size_t size, size_t count, void* context) {
  const size_t length = size * count;
  const QByteArrayView line(data, qsizetype(length));
  if (line == "\r\n" || line == "\n") static_cast<AnswerBody*>(context)->headersEnded = true;
  return length;
}

size_t TakeBody(char* data, size_t size, size_t count, void* context) {
  auto* body = static_cast<AnswerBody*>(context);
  const size_t length = size * count;
  if (body->bytes.size() + qint64(length) > body->limit) {
    body->tooLong = true;
    return 0;
  }
  body->bytes.append(data, qsizetype(length));
  return length;
}

bool SendingFailed(CURLcode code) {
  switch (code) {
    case CURLE_UNSUPPORTED_PROTOCOL:
    case CURLE_URL_MALFORMAT:
    case CURLE_COULDNT_RESOLVE_PROXY:
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_CONNECT:
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SEND_ERROR:
      return true;
    default:
      return false;
  }
}

}  // namespace

std::unique_ptr<ServiceConnection> OpenServiceConnection(InternetSession& session, const QString& scheme,
                                                         const QString& host) {
  if (host.isEmpty()) return nullptr;
  auto connection = std::make_unique<ServiceConnection>(session, scheme, host);
  if (!connection->curl().valid()) return nullptr;
  return connection;
}

QString FetchObject(ServiceConnection& connection, const QString& object, QString* errorText) {
  if (errorText) errorText->clear();
  CurlTransfer transfer(connection.curl(), connection.session());
  const QByteArray url = (connection.scheme() + QLatin1String("://") + connection.host() + object).toUtf8();
  AnswerBody body;
  body.limit = connection.session().options().answerLimitBytes;
  CURL* handle = transfer.handle();
  curl_easy_setopt(handle, CURLOPT_URL, url.constData());
  curl_easy_setopt(handle, CURLOPT_HTTP_VERSION, long(CURL_HTTP_VERSION_1_0));
  curl_easy_setopt(handle, CURLOPT_HTTPGET, 1L);
  curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, &TakeBody);
  curl_easy_setopt(handle, CURLOPT_WRITEDATA, &body);
  curl_easy_setopt(handle, CURLOPT_HEADERFUNCTION, &TakeHeader);
  curl_easy_setopt(handle, CURLOPT_HEADERDATA, &body);
  const CURLcode code = transfer.perform();
  if (code == CURLE_OK && body.headersEnded) return QString::fromUtf8(RemoveZeroBytes(body.bytes));
  if (code == CURLE_OK) {
    if (errorText)
      *errorText =
          QStringLiteral("The connection to the server broke off (in the answer's headers).");
    return {};
  }
  if (errorText) {
    *errorText = body.tooLong ? QStringLiteral("The server's answer is longer than %1 KB; it was refused.")
                                    .arg(body.limit / 1024)
                              : transfer.errorText(code);
  }
  if (SendingFailed(code)) return QString::fromLatin1(kRequestFailed);
  return {};
}

QString ServiceGet(InternetSession& session, const QString& baseUrl, const QString& path, const QString& query,
                   QString* errorText) {
  const CrackedUrl base = CrackUrl(baseUrl);
  const CrackedUrl request = CrackUrl(QLatin1String("http://") + base.host + path + query);
  if (!session.serviceConnection())
    session.setServiceConnection(OpenServiceConnection(session, request.scheme, request.host));
  if (!session.serviceConnection()) {
    if (errorText) *errorText = QStringLiteral("The service's address \"%1\" has no host.").arg(baseUrl);
    return {};
  }
  return FetchObject(*session.serviceConnection(), request.object, errorText);
}

namespace {
// A request for an absolute URL on the cached connection; fresh: on a new connection to
// the URL's host, which becomes the cached one.
QString FetchUrl(InternetSession& session, const QString& url, bool fresh, QString* errorText) {
  const CrackedUrl cracked = CrackUrl(url);
  if (fresh || !session.serviceConnection())
    session.setServiceConnection(OpenServiceConnection(session, cracked.scheme, cracked.host));
  if (!session.serviceConnection()) {
    if (errorText) *errorText = QStringLiteral("The service's address has no host.");
    return QString::fromLatin1(kRequestFailed);
  }
  return FetchObject(*session.serviceConnection(), cracked.object, errorText);
}
}  // namespace

QString FetchOnFreshConnection(InternetSession& session, const QString& url, QString* errorText) {
  return FetchUrl(session, url, true, errorText);
}

QString FetchOnCachedConnection(InternetSession& session, const QString& url, QString* errorText) {
  return FetchUrl(session, url, false, errorText);
}
