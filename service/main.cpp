// brivane-service: the reference photo-sharing service. Serves the data requests and the
// pages over HTTP and HTTPS and runs the FTP upload server as its child.

#include <httplib.h>
#include <limits.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <memory>
#include <thread>

#include "ServiceHandlers.h"
#include "ServiceOptions.h"
#include "ServiceRecords.h"
#include "ServiceStore.h"
#include "TlsCertificate.h"
#include "UploadServer.h"

namespace {
constexpr int kBadOptions = 2;
constexpr int kCannotStart = 1;
// Each keep-alive connection holds a thread while it lasts: enough for many clients.
constexpr std::size_t kThreads = 64;
constexpr std::size_t kRequestsPerConnection = 100;

// The library listens with a backlog of 5: many clients connecting at once would wait
// out SYN retries. listen() again on the bound socket widens the queue.
template <class Base>
class WideServer : public Base {
 public:
  using Base::Base;
  void widenBacklog() { ::listen(this->svr_sock_, SOMAXCONN); }
};

int Fail(const std::string& message) {
  std::fprintf(stderr, "brivane-service: %s\n", message.c_str());
  return kCannotStart;
}

// mkdir -p with the given mode for the folders it makes.
bool MakeFolders(const std::string& path, mode_t mode) {
  for (std::size_t slash = 1; slash != std::string::npos;) {
    slash = path.find('/', slash + 1);
    const std::string part = path.substr(0, slash);
    if (::mkdir(part.c_str(), mode) != 0 && errno != EEXIST) return false;
  }
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string ProgramFolder() {
  char path[PATH_MAX];
  const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
  if (length <= 0) return ".";
  std::string text(path, static_cast<std::size_t>(length));
  return text.substr(0, text.rfind('/'));
}

// Binds server to the address; port 0 picks a free one. The port, or -1.
template <class Server>
int Bind(WideServer<Server>& server, const std::string& address, int port) {
  server.set_socket_options([](int socket) {
    // Only SO_REUSEADDR: a port that another service holds must stay refused.
    const int yes = 1;
    ::setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    // Answers go out in more than one write: without this, keep-alive clients wait on
    // delayed acknowledgements.
    ::setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
  });
  server.new_task_queue = [] { return new httplib::ThreadPool(kThreads); };
  server.set_keep_alive_max_count(kRequestsPerConnection);
  const int bound = port == 0 ? server.bind_to_any_port(address)
                              : (server.bind_to_port(address, port) ? port : -1);
  if (bound > 0) server.widenBacklog();
  return bound;
}

int RunCommand(const ServiceOptions& options, ServiceRecords& records) {
  if (options.command == ServiceOptions::Command::SetSpace) {
    if (!records.setSpacePurchased(options.userId, options.space))
      return Fail("there is no account with the User Id " + options.userId);
    std::printf("%s may now use %lld bytes\n", options.userId.c_str(),
                static_cast<long long>(options.space));
    return 0;
  }
  std::printf("%-9s  %-19s  %14s  %14s  %s\n", "USER ID", "CREATED (UTC)", "SPACE USED",
              "SPACE GIVEN", "NAME <EMAIL>");
  for (const Account& account : records.accounts())
    std::printf("%-9s  %-19s  %14lld  %14lld  %s %s <%s>\n", account.userId.c_str(),
                account.created.c_str(), static_cast<long long>(account.spaceUsed),
                static_cast<long long>(account.spacePurchased), account.firstName.c_str(),
                account.lastName.c_str(), account.email.c_str());
  return 0;
}
}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i)
    if (std::string(argv[i]) == "--help" || std::string(argv[i]) == "-h") {
      std::fputs(ServiceUsage().c_str(), stdout);
      return 0;
    }
  std::string error;
  const auto parsed = ParseServiceOptions(std::vector<std::string>(argv + 1, argv + argc), error);
  if (!parsed) {
    std::fprintf(stderr, "brivane-service: %s\n%s", error.c_str(), ServiceUsage().c_str());
    return kBadOptions;
  }
  ServiceOptions options = *parsed;

  // Signals are taken by sigwait below; every thread started from here on blocks them.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
  ::signal(SIGPIPE, SIG_IGN);
  if (options.stopWithParent) {
    const pid_t parent = ::getppid();
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    // The parent may have ended before the call above.
    if (::getppid() != parent) return 0;
  }

  if (!MakeFolders(options.dataFolder, 0700))
    return Fail("cannot use the data folder " + options.dataFolder + ": " + std::strerror(errno));
  if (char* real = ::realpath(options.dataFolder.c_str(), nullptr)) {
    options.dataFolder = real;
    ::free(real);
  }

  std::unique_ptr<ServiceStore> store;
  try {
    store = OpenServiceStore(options.database, options.sqlitePath());
    ServiceRecords(*store).createTables();
  } catch (const std::exception& failure) {
    return Fail(std::string("cannot open the database: ") + failure.what());
  }
  ServiceRecords records(*store);
  if (options.command != ServiceOptions::Command::Serve) {
    try {
      return RunCommand(options, records);
    } catch (const std::exception& failure) {
      return Fail(failure.what());
    }
  }

  const std::string photoFolder = options.dataFolder + "/upload/photos";
  if (!MakeFolders(photoFolder, 0700))
    return Fail("cannot make " + photoFolder + ": " + std::strerror(errno));

  std::unique_ptr<httplib::Server> http;
  std::unique_ptr<httplib::Server> https;
  ServiceSite site;
  site.publicHost = options.publicHost;
  site.photoFolder = photoFolder;
  site.defaultSpace = options.defaultSpace;
  site.updateVersion = options.updateVersion;
  site.updateUrl = options.updateUrl;
  site.updateSha256 = options.updateSha256;
  if (options.httpPort >= 0) {
    auto server = std::make_unique<WideServer<httplib::Server>>();
    site.httpPort = Bind(*server, options.bindAddress, options.httpPort);
    http = std::move(server);
    if (site.httpPort <= 0)
      return Fail("cannot listen for HTTP on " + options.bindAddress + " port " +
                  std::to_string(options.httpPort) + " (in use, or a bad address?)");
  }
  if (options.httpsPort >= 0) {
    TlsCertificate certificate{options.certFile, options.keyFile};
    try {
      if (certificate.certFile.empty())
        certificate =
            TlsCertificate::ensureSelfSigned(options.dataFolder + "/tls", options.publicHost);
    } catch (const std::exception& failure) {
      return Fail(failure.what());
    }
    auto server = std::make_unique<WideServer<httplib::SSLServer>>(certificate.certFile.c_str(),
                                                                   certificate.keyFile.c_str());
    if (!server->is_valid())
      return Fail("cannot use the certificate " + certificate.certFile + " with the key " +
                  certificate.keyFile);
    site.httpsPort = Bind(*server, options.bindAddress, options.httpsPort);
    https = std::move(server);
    if (site.httpsPort <= 0)
      return Fail("cannot listen for HTTPS on " + options.bindAddress + " port " +
                  std::to_string(options.httpsPort) + " (in use, or a bad address?)");
  }

  UploadServer uploads;
  if (options.ftpPort >= 0) {
    UploadServer::Settings settings;
    settings.script = ProgramFolder() + "/service/upload_server.py";
    settings.root = options.dataFolder + "/upload";
    settings.bindAddress = options.bindAddress;
    settings.port = options.ftpPort;
    settings.database = options.database.empty() ? options.sqlitePath() : options.database;
    settings.passivePorts = options.ftpPassivePorts;
    settings.publicHost = options.publicHost;
    settings.stopWithParent = options.stopWithParent;
    if (!uploads.start(settings, error)) return Fail(error);
    site.ftpPort = uploads.port();
  }

  ServiceHandlers handlers(records, site);
  std::vector<std::thread> listeners;
  for (httplib::Server* server : {http.get(), https.get()}) {
    if (!server) continue;
    handlers.attach(*server);
    listeners.emplace_back([server] { server->listen_after_bind(); });
  }
  std::cout << "brivane-service http=" << std::max(site.httpPort, 0)
            << " https=" << std::max(site.httpsPort, 0) << " ftp=" << std::max(site.ftpPort, 0)
            << " data=" << options.dataFolder << std::endl;

  int received = 0;
  sigwait(&stopSignals, &received);
  for (httplib::Server* server : {http.get(), https.get()})
    if (server) server->stop();
  for (std::thread& listener : listeners) listener.join();
  uploads.stop();
  return 0;
}
