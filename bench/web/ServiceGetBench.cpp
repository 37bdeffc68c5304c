// Round trips of the client's service requests against a running service: signs a user
// up, then times COUNT album requests (the cached connection, as a publishing run makes
// them) over plain HTTP and over HTTPS. Prints "<name> <requests per second>" lines.
//
//   bench_service_get HTTP_PORT HTTPS_PORT CA_FILE COUNT

#include <chrono>
#include <cstdio>

#include <QString>

#include "inet/InternetSession.h"
#include "inet/ResponseText.h"
#include "inet/ServiceConnection.h"
#include "inet/ServiceRequests.h"
#include "inet/UploadPaths.h"
#include "web/AccountRequests.h"

namespace {
double PerSecond(int count, std::chrono::steady_clock::duration took) {
  return count / std::chrono::duration<double>(took).count();
}
}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: %s HTTP_PORT HTTPS_PORT CA_FILE COUNT\n", argv[0]);
    return 2;
  }
  const QString http = QStringLiteral("localhost:%1").arg(QString::fromLocal8Bit(argv[1]));
  const QString https = QStringLiteral("localhost:%1").arg(QString::fromLocal8Bit(argv[2]));
  const int count = QString::fromLocal8Bit(argv[4]).toInt();
  InternetOptions options;
  options.caFile = QString::fromLocal8Bit(argv[3]);
  auto session = InternetSession::Open(options);
  if (!session) return 1;
  const RegistrationDetails details{"Ben", "Ch", "1 Road", "", "Town", "St", "1", "", "5", "", "", "b@example.com"};
  const QString userId =
      GetResponseValue(FetchOnFreshConnection(*session, SignUpUrl(https, details, QStringLiteral("pw"))),
                       QStringLiteral("UserId="));
  if (userId.isEmpty()) {
    std::fprintf(stderr, "the service signed nobody up\n");
    return 1;
  }
  std::printf("user %s\n", qPrintable(userId));
  const QString query = QStringLiteral("?UserId=") + userId;

  // Plain HTTP: ServiceGet opens the cached connection for the web path's host itself.
  session->setServiceConnection(nullptr);
  auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < count; ++i)
    if (ServiceGet(*session, QStringLiteral("http://") + http + QStringLiteral("/"), QStringLiteral("/getalbums.asp"),
                   query)
            .isEmpty())
      return 1;
  std::printf("http %.0f\n", PerSecond(count, std::chrono::steady_clock::now() - start));

  // HTTPS: the path request opens the cached connection, as a publishing run does.
  session->setServiceConnection(nullptr);
  const UploadPaths paths = GetUploadPaths(*session, https, userId);
  if (!paths.ok) return 1;
  start = std::chrono::steady_clock::now();
  for (int i = 0; i < count; ++i)
    if (ServiceGet(*session, paths.webPath, QStringLiteral("/getalbums.asp"), query).isEmpty()) return 1;
  std::printf("https %.0f\n", PerSecond(count, std::chrono::steady_clock::now() - start));
  return 0;
}
