#pragma once

#include <memory>

#include <QString>

class InternetSession;
struct CurlHandle;

// An HTTP connection to one host of the service: requests on it reuse the connection
// (and its TLS session) where the server keeps it open.
class ServiceConnection {
 public:
  // scheme: "http" or "https"; host: a name or address with an optional ":port".
  ServiceConnection(InternetSession& session, QString scheme, QString host);
  ~ServiceConnection();

  InternetSession& session() const { return m_session; }
  const QString& scheme() const { return m_scheme; }
  const QString& host() const { return m_host; }
  CurlHandle& curl() const { return *m_curl; }

 private:
  InternetSession& m_session;
  QString m_scheme;
  QString m_host;
  std::unique_ptr<CurlHandle> m_curl;
};

// The parts of an absolute URL: scheme, host (with port) and object (path and query).
struct CrackedUrl {
  QString scheme;
  QString host;
  QString object;
  bool valid = false;
};
CrackedUrl CrackUrl(const QString& url);
