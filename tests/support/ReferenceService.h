#pragma once

// The reference photo-sharing service (build/bin/brivane-service) run for a test: a fresh
// temporary data folder, free ports on 127.0.0.1, and --stop-with-parent so that it also
// ends when the test process dies. Stopped in the destructor.
//
// Start it from the thread that runs the test: the service ends when the thread that
// started it ends.

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

class ReferenceService {
 public:
  struct Options {
    bool ftp = false;       // run the FTP upload server too (--ftp 0), else --ftp off
    bool https = true;      // --https 0, else --https off
    QString database;       // a libpq connection string; empty: SQLite in the data folder
    QStringList arguments;  // further options, e.g. {"--default-space", "1000"}
  };

  ReferenceService() : ReferenceService(Options{}) {}
  explicit ReferenceService(const Options& options);
  ~ReferenceService();
  ReferenceService(const ReferenceService&) = delete;
  ReferenceService& operator=(const ReferenceService&) = delete;

  // Whether it started and printed its ports; error() says why not.
  bool isRunning() const { return running_; }
  QString error() const { return error_; }
  int httpPort() const { return httpPort_; }
  int httpsPort() const { return httpsPort_; }
  int ftpPort() const { return ftpPort_; }
  QString dataFolder() const { return dataFolder_; }
  // The self-signed certificate the service made: the CA to trust for HTTPS.
  QString caFile() const { return dataFolder_ + "/tls/cert.pem"; }
  // "http://127.0.0.1:<port>/"
  QString httpBase() const;

  struct Reply {
    int status = 0;  // 0 when no answer came
    QByteArray headers;
    QByteArray body;
  };
  // GET of pathAndQuery ("/getpaths.asp?UserId=...") over HTTP/1.0, as the client sends it.
  Reply request(const QByteArray& pathAndQuery) const;
  // Just the body of the answer.
  QByteArray get(const QByteArray& pathAndQuery) const { return request(pathAndQuery).body; }

  // Ends the service with SIGTERM; its exit code, or -1 when it had to be killed.
  int stop();
  // What the service wrote to standard error so far.
  QByteArray standardError();

 private:
  QString errorFile() const { return folder_.path() + "/service.err"; }

  QTemporaryDir folder_;
  QProcess process_;
  bool running_ = false;
  QString error_;
  int httpPort_ = 0;
  int httpsPort_ = 0;
  int ftpPort_ = 0;
  QString dataFolder_;
};
