#include "inet/ServiceConnection.h"

#include "inet/CurlTransfer.h"

ServiceConnection::ServiceConnection(InternetSession& session, QString scheme, QString host)
    : m_session(session), m_scheme(std::move(scheme)), m_host(std::move(host)), m_curl(std::make_unique<CurlHandle>()) {}

ServiceConnection::~ServiceConnection() = default;

CrackedUrl CrackUrl(const QString& url) {
  CrackedUrl cracked;
  const qsizetype schemeEnd = url.indexOf(QLatin1String("://"));
  if (schemeEnd <= 0) return cracked;
  cracked.scheme = url.left(schemeEnd).toLower();
  const qsizetype hostStart = schemeEnd + 3;
  qsizetype hostEnd = hostStart;
  while (hostEnd < url.size() && url[hostEnd] != QLatin1Char('/') && url[hostEnd] != QLatin1Char('?') &&
         url[hostEnd] != QLatin1Char('#'))
    ++hostEnd;
  cracked.host = url.mid(hostStart, hostEnd - hostStart);
  // User names and passwords never travel in a service URL.
  const qsizetype at = cracked.host.lastIndexOf(QLatin1Char('@'));
  if (at >= 0) cracked.host.remove(0, at + 1);
  cracked.object = url.mid(hostEnd);
  if (cracked.object.isEmpty() || cracked.object[0] != QLatin1Char('/')) cracked.object.prepend(QLatin1Char('/'));
  cracked.valid = !cracked.host.isEmpty();
  return cracked;
}
