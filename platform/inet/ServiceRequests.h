#pragma once

#include <memory>

#include <QString>

class InternetSession;
class ServiceConnection;

// The result when a request cannot be sent at all.
inline constexpr const char* kRequestFailed = "Failed";

// A connection to host ("name" or "name:port") over scheme ("http" or "https"); null
// when host is empty.
std::unique_ptr<ServiceConnection> OpenServiceConnection(InternetSession& session, const QString& scheme,
                                                         const QString& host);

// One HTTP/1.0 GET of object (path and query) on the connection; the whole body as text,
// zero bytes dropped, status and headers not looked at. A request that cannot be sent
// returns "Failed". A request that fails after the answer began (it broke off, stalled,
// was stopped, or grew past the answer limit) returns an empty text: a cut answer would
// be read as a whole one. errorText, when given, receives what went wrong.
QString FetchObject(ServiceConnection& connection, const QString& object, QString* errorText = nullptr);

// A request to the service: the host of baseUrl (its own path and query play no part)
// with path ("/savephoto.asp") and query ("?UserId=…", escaped by the caller). It
// travels on the session's cached connection, opened for this host when there is none.
QString ServiceGet(InternetSession& session, const QString& baseUrl, const QString& path,
                   const QString& query, QString* errorText = nullptr);

// A request for an absolute URL on a fresh connection to its host, which becomes the
// session's cached connection (the account requests).
QString FetchOnFreshConnection(InternetSession& session, const QString& url, QString* errorText = nullptr);

// A request for an absolute URL on the cached connection, opened for the URL's host
// when there is none (the path request).
QString FetchOnCachedConnection(InternetSession& session, const QString& url, QString* errorText = nullptr);
