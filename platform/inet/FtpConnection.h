#pragma once

#include <functional>
#include <memory>
#include <optional>

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include "inet/FileEntry.h"

class InternetSession;
class QIODevice;
struct CurlHandle;

// A logged-in FTP connection to the upload server, with a current directory. Transfers
// use active mode first, as the service expects; when the server cannot connect back
// (behind NAT, or refused), the connection falls back to passive mode and stays there.
class FtpConnection {
 public:
  // host: a name or address with an optional ":port".
  FtpConnection(InternetSession& session, QString host, QString user, QString password);
  ~FtpConnection();

  // Reaches the server and logs in; false, with the reason, when it cannot.
  bool logIn(QString* error = nullptr);

  // "/" at the start; folder is absolute ("/photos") or a name within the current one.
  QString currentDirectory() const;
  bool setCurrentDirectory(const QString& folder, QString* error = nullptr);
  bool createDirectory(const QString& name, QString* error = nullptr);
  // The plain files of the current directory (MLSD where the server has it, LIST
  // otherwise), in the reverse of the listing's order; names that may not become file
  // names here go to refused. nullopt when the listing failed.
  std::optional<QList<FileEntry>> listCurrentDirectory(QString* error = nullptr, QStringList* refused = nullptr);
  bool deleteFile(const QString& name, QString* error = nullptr);

  // Told the bytes moved so far, after every block.
  using Progress = std::function<void(qint64 bytes)>;
  // Sends the rest of source as name in the current directory (binary).
  bool upload(const QString& name, QIODevice& source, const Progress& progress = {}, QString* error = nullptr);
  // Sends source under a hidden temporary name (TemporaryUploadName) and renames it over
  // name only when it arrived whole, so a stopped or broken transfer never leaves a cut
  // file under name; then gives it lastWrite where the server can set times (MFMT).
  bool uploadReplacing(const QString& name, QIODevice& source, const QDateTime& lastWrite,
                       const Progress& progress = {}, QString* error = nullptr);
  // Receives name from the current directory into target (binary). limit, when not
  // negative, is the size the listing gave: a server that sends more fails the transfer.
  bool download(const QString& name, QIODevice& target, const Progress& progress = {},
                QString* error = nullptr, qint64 limit = -1);

  bool passive() const { return m_passive; }
  // The hidden name uploadReplacing sends name under; a leftover one of a transfer that
  // never finished is what IsTemporaryUploadName tells apart.
  static QString TemporaryUploadName(const QString& name);
  static bool IsTemporaryUploadName(const QString& name);

 private:
  struct Request;
  QByteArray urlFor(const QStringList& segments, bool absolute, const QString& file, bool folder) const;
  QByteArray directoryUrl() const;
  QByteArray fileUrl(const QString& name) const;
  // Sends "verb name" in the current directory, name checked first.
  bool command(const char* verb, const QString& name, QString* error);
  // Sends source as name, with after: FTP commands run once the data arrived whole.
  bool send(const QString& name, QIODevice& source, const Progress& progress, QString* error,
            const QList<QByteArray>& after);
  // Runs a transfer set up by prepare, falling back to passive mode once when active
  // mode cannot make its data connection; restart readies the data source for a retry.
  // The libcurl result code.
  int run(const std::function<void(void*)>& prepare, bool dataConnection, QString* error,
          const std::function<bool()>& restart = {}, long* reply = nullptr);

  InternetSession& m_session;
  QString m_host;
  QString m_user;
  QString m_password;
  QStringList m_directory;
  bool m_absolute = false;
  bool m_passive = false;
  bool m_noMlsd = false;
  std::unique_ptr<CurlHandle> m_curl;
};

// A connection logged in to the upload server; null, with the reason in error, when the
// server cannot be reached or refuses the log-in.
std::unique_ptr<FtpConnection> OpenUploadConnection(InternetSession& session, const QString& host,
                                                    const QString& user, const QString& password,
                                                    QString* error = nullptr);
