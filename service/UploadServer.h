#pragma once

#include <sys/types.h>

#include <string>
#include <thread>

// The FTP upload server: service/upload_server.py beside the program, run as a child
// process with Debian's python3.
class UploadServer {
 public:
  struct Settings {
    std::string script;
    std::string root;
    std::string bindAddress;
    int port = 0;
    std::string database;
    std::string passivePorts;
    std::string publicHost;
    bool stopWithParent = false;
  };

  UploadServer() = default;
  // Stops the child.
  ~UploadServer();
  UploadServer(const UploadServer&) = delete;
  UploadServer& operator=(const UploadServer&) = delete;

  // Starts the child and waits for its "ftp=<port>" line; false with error when it
  // cannot start or ends first.
  bool start(const Settings& settings, std::string& error);
  int port() const { return port_; }
  void stop();

 private:
  void stopChild();

  pid_t pid_ = -1;
  std::thread outputCopier_;
  int port_ = 0;
};
