#include "inet/FtpConnection.h"

#include <algorithm>

#include <QCryptographicHash>
#include <QIODevice>
#include <QUrl>

#include "inet/CurlTransfer.h"
#include "inet/FolderListing.h"
#include "inet/InternetSession.h"

namespace {

constexpr qint64 kBlock = 4096;
// Uploads travel under this prefix until whole; hidden, so listings of ours skip them.
constexpr const char* kTemporaryPrefix = ".sending-";

struct Sink {
  QByteArray* bytes = nullptr;
  QIODevice* device = nullptr;
  qint64 moved = 0;
  const FtpConnection::Progress* progress = nullptr;
  const InternetSession* session = nullptr;
  bool failed = false;
  // Bytes the server said it would send; -1: not known.
  qint64 limit = -1;
  bool tooLong = false;
};

size_t Write(char* data, size_t size, size_t count, void* context) {
  auto* sink = static_cast<Sink*>(context);
  const qint64 length = qint64(size * count);
  if (sink->session && sink->session->stopRequested()) return 0;
  if (sink->bytes) {
    // Listings are text for us to parse; one beyond any sensible size is refused.
    if (sink->bytes->size() + length > 16 * 1024 * 1024) return 0;
    sink->bytes->append(data, length);
  } else if (sink->limit >= 0 && sink->moved + length > sink->limit) {
    sink->tooLong = true;
    return 0;
  } else if (sink->device->write(data, length) != length) {
    sink->failed = true;
    return 0;
  }
  sink->moved += length;
  if (sink->progress && *sink->progress) (*sink->progress)(sink->moved);
  return size_t(length);
}

struct Source {
  QIODevice* device = nullptr;
  qint64 moved = 0;
  const FtpConnection::Progress* progress = nullptr;
  const InternetSession* session = nullptr;
  bool failed = false;
};

size_t Read(char* buffer, size_t size, size_t count, void* context) {
  auto* source = static_cast<Source*>(context);
  if (source->session->stopRequested()) return CURL_READFUNC_ABORT;
  const qint64 got = source->device->read(buffer, qMin<qint64>(kBlock, qint64(size * count)));
  if (got < 0) {
    source->failed = true;
    return CURL_READFUNC_ABORT;
  }
  source->moved += got;
  if (got > 0 && source->progress && *source->progress) (*source->progress)(source->moved);
  return size_t(got);
}

size_t Discard(char*, size_t size, size_t count, void*) { return size * count; }

bool ActiveModeFailed(CURLcode code, long reply) {
  return code == CURLE_FTP_ACCEPT_FAILED || code == CURLE_FTP_ACCEPT_TIMEOUT || code == CURLE_FTP_PORT_FAILED ||
         reply == 425 || reply == 426;
}

}  // namespace

FtpConnection::FtpConnection(InternetSession& session, QString host, QString user, QString password)
    : m_session(session),
      m_host(std::move(host)),
      m_user(std::move(user)),
      m_password(std::move(password)),
      m_curl(std::make_unique<CurlHandle>()) {}

FtpConnection::~FtpConnection() = default;

QByteArray FtpConnection::urlFor(const QStringList& segments, bool absolute, const QString& file, bool folder) const {
  QByteArray url = "ftp://" + m_host.toUtf8() + "/";
  // "%2F" makes libcurl start from the server's root instead of the log-in folder.
  if (absolute) url += "%2F";
  for (const QString& segment : segments) url += QUrl::toPercentEncoding(segment) + "/";
  if (!folder) url += QUrl::toPercentEncoding(file);
  return url;
}

QByteArray FtpConnection::directoryUrl() const { return urlFor(m_directory, m_absolute, {}, true); }
QByteArray FtpConnection::fileUrl(const QString& name) const { return urlFor(m_directory, m_absolute, name, false); }

int FtpConnection::run(const std::function<void(void*)>& prepare, bool dataConnection, QString* error,
                       const std::function<bool()>& restart, long* reply) {
  // The user and password come from the service's answer; libcurl sends them as they are,
  // and a CR or LF in them would end USER or PASS early and start a command of the
  // answer's choosing.
  for (const QString& credential : {m_user, m_password})
    if (std::any_of(credential.cbegin(), credential.cend(),
                    [](QChar c) { return c.unicode() < 0x20; })) {
      if (error)
        *error = QStringLiteral(
            "The upload server's user name or password holds characters FTP cannot send.");
      return CURLE_LOGIN_DENIED;
    }
  for (int attempt = 0;; ++attempt) {
    CurlTransfer transfer(*m_curl, m_session);
    CURL* handle = transfer.handle();
    curl_easy_setopt(handle, CURLOPT_USERNAME, m_user.toUtf8().constData());
    curl_easy_setopt(handle, CURLOPT_PASSWORD, m_password.toUtf8().constData());
    curl_easy_setopt(handle, CURLOPT_FTP_FILEMETHOD, long(CURLFTPMETHOD_MULTICWD));
    curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, &Discard);
    if (m_passive) {
      curl_easy_setopt(handle, CURLOPT_FTPPORT, nullptr);
    } else {
      curl_easy_setopt(handle, CURLOPT_FTPPORT, m_session.options().activeAddress.toUtf8().constData());
      curl_easy_setopt(handle, CURLOPT_ACCEPTTIMEOUT_MS, long(m_session.options().activeAcceptTimeoutMs));
    }
    prepare(handle);
    const CURLcode code = transfer.perform();
    const long response = transfer.responseCode();
    if (reply) *reply = response;
    if (code != CURLE_OK && dataConnection && !m_passive && attempt == 0 && !transfer.stopped() &&
        ActiveModeFailed(code, response) && (!restart || restart())) {
      m_passive = true;
      continue;
    }
    if (error) *error = transfer.errorText(code);
    return code;
  }
}

bool FtpConnection::logIn(QString* error) {
  return run([this](void* handle) {
           curl_easy_setopt(handle, CURLOPT_URL, urlFor({}, false, {}, true).constData());
           curl_easy_setopt(handle, CURLOPT_NOBODY, 1L);
         },
         false, error) == CURLE_OK;
}

QString FtpConnection::currentDirectory() const {
  return (m_absolute ? QStringLiteral("/") : QString()) + m_directory.join(QLatin1Char('/'));
}

bool FtpConnection::setCurrentDirectory(const QString& folder, QString* error) {
  QStringList segments = folder.startsWith(QLatin1Char('/')) ? QStringList() : m_directory;
  const bool absolute = folder.startsWith(QLatin1Char('/')) || m_absolute;
  for (const QString& part : folder.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
    if (!IsSafeFileName(part)) {
      if (error) *error = QStringLiteral("The folder name \"%1\" is not allowed.").arg(part);
      return false;
    }
    segments.append(part);
  }
  const int code = run([&](void* handle) {
    curl_easy_setopt(handle, CURLOPT_URL, urlFor(segments, absolute, {}, true).constData());
    curl_easy_setopt(handle, CURLOPT_NOBODY, 1L);
  }, false, error);
  if (code != CURLE_OK) return false;
  m_directory = segments;
  m_absolute = absolute;
  return true;
}

bool FtpConnection::command(const char* verb, const QString& name, QString* error) {
  if (!IsSafeFileName(name)) {
    if (error) *error = QStringLiteral("The name \"%1\" is not allowed.").arg(name);
    return false;
  }
  curl_slist* commands = curl_slist_append(nullptr, (QByteArray(verb) + ' ' + name.toUtf8()).constData());
  const int code = run([&](void* handle) {
    curl_easy_setopt(handle, CURLOPT_URL, directoryUrl().constData());
    curl_easy_setopt(handle, CURLOPT_NOBODY, 1L);
    curl_easy_setopt(handle, CURLOPT_QUOTE, commands);
  }, false, error);
  curl_slist_free_all(commands);
  return code == CURLE_OK;
}

bool FtpConnection::createDirectory(const QString& name, QString* error) { return command("MKD", name, error); }

std::optional<QList<FileEntry>> FtpConnection::listCurrentDirectory(QString* error, QStringList* refused) {
  QByteArray listing;
  Sink sink;
  sink.bytes = &listing;
  auto list = [&](const char* command) {
    listing.clear();
    long reply = 0;
    const int code = run([&](void* handle) {
      curl_easy_setopt(handle, CURLOPT_URL, directoryUrl().constData());
      curl_easy_setopt(handle, CURLOPT_CUSTOMREQUEST, command);
      curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, &Write);
      curl_easy_setopt(handle, CURLOPT_WRITEDATA, &sink);
    }, true, error, [&] { listing.clear(); return true; }, &reply);
    return std::make_pair(code, reply);
  };
  if (!m_noMlsd) {
    const auto [code, reply] = list("MLSD");
    if (code == CURLE_OK) return ParseMlsdListing(listing, refused);
    // 500, 502 and 504: the server does not know MLSD; anything else is a real failure.
    if (reply != 500 && reply != 502 && reply != 504) return std::nullopt;
    m_noMlsd = true;
  }
  const auto [code, reply] = list("LIST");
  if (code != CURLE_OK) return std::nullopt;
  return ParseListListing(listing, QDateTime::currentDateTimeUtc(), refused);
}

bool FtpConnection::deleteFile(const QString& name, QString* error) { return command("DELE", name, error); }

bool FtpConnection::upload(const QString& name, QIODevice& source, const Progress& progress, QString* error) {
  return send(name, source, progress, error, {});
}

QString FtpConnection::TemporaryUploadName(const QString& name) {
  QString temporary = QLatin1String(kTemporaryPrefix) + name;
  // Names near the 255-byte limit are sent under a digest of the name instead.
  if (temporary.toUtf8().size() > 255)
    temporary = QLatin1String(kTemporaryPrefix) +
                QString::fromLatin1(QCryptographicHash::hash(name.toUtf8(), QCryptographicHash::Sha1).toHex());
  return temporary;
}

bool FtpConnection::IsTemporaryUploadName(const QString& name) {
  return name.startsWith(QLatin1String(kTemporaryPrefix));
}

bool FtpConnection::uploadReplacing(const QString& name, QIODevice& source, const QDateTime& lastWrite,
                                    const Progress& progress, QString* error) {
  if (!IsSafeFileName(name)) {
    if (error) *error = QStringLiteral("The file name \"%1\" is not allowed.").arg(name);
    return false;
  }
  const QString temporary = TemporaryUploadName(name);
  if (!send(temporary, source, progress, error,
            {"RNFR " + temporary.toUtf8(), "RNTO " + name.toUtf8()}))
    return false;
  // The file stands whole under its name now: a server that cannot set times, or breaks off
  // while it does, still took it. (A failure within the same transfer would fail the upload,
  // and the file, newer there, would never be sent or announced again.)
  if (!lastWrite.isValid()) return true;
  const QByteArray stamp = lastWrite.toUTC().toString(QStringLiteral("yyyyMMddHHmmss")).toLatin1();
  curl_slist* setTime =
      curl_slist_append(nullptr, ("MFMT " + stamp + ' ' + name.toUtf8()).constData());
  const auto prepare = [&](void* handle) {
    curl_easy_setopt(handle, CURLOPT_URL, directoryUrl().constData());
    curl_easy_setopt(handle, CURLOPT_NOBODY, 1L);
    curl_easy_setopt(handle, CURLOPT_QUOTE, setTime);
  };
  run(prepare, false, nullptr);
  curl_slist_free_all(setTime);
  return true;
}

bool FtpConnection::send(const QString& name, QIODevice& source, const Progress& progress, QString* error,
                         const QList<QByteArray>& after) {
  if (!IsSafeFileName(name)) {
    if (error) *error = QStringLiteral("The file name \"%1\" is not allowed.").arg(name);
    return false;
  }
  curl_slist* commands = nullptr;
  for (const QByteArray& command : after) commands = curl_slist_append(commands, command.constData());
  const qint64 start = source.pos();
  Source reader{&source, 0, &progress, &m_session, false};
  const int code = run([&](void* handle) {
    curl_easy_setopt(handle, CURLOPT_URL, fileUrl(name).constData());
    curl_easy_setopt(handle, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(handle, CURLOPT_READFUNCTION, &Read);
    curl_easy_setopt(handle, CURLOPT_READDATA, &reader);
    curl_easy_setopt(handle, CURLOPT_POSTQUOTE, commands);
    if (!source.isSequential())
      curl_easy_setopt(handle, CURLOPT_INFILESIZE_LARGE, curl_off_t(source.size() - start));
  }, true, error, [&] {
    reader.moved = 0;
    return !source.isSequential() && source.seek(start);
  });
  curl_slist_free_all(commands);
  if (reader.failed && error) *error = QStringLiteral("The file could not be read: %1").arg(source.errorString());
  return code == CURLE_OK && !reader.failed;
}

bool FtpConnection::download(const QString& name, QIODevice& target, const Progress& progress,
                             QString* error, qint64 limit) {
  if (!IsSafeFileName(name)) {
    if (error) *error = QStringLiteral("The file name \"%1\" is not allowed.").arg(name);
    return false;
  }
  Sink sink;
  sink.device = &target;
  sink.progress = &progress;
  sink.session = &m_session;
  sink.limit = limit;
  const int code = run([&](void* handle) {
    curl_easy_setopt(handle, CURLOPT_URL, fileUrl(name).constData());
    // Blocks of 4 KiB, so that a stop ends the transfer within one.
    curl_easy_setopt(handle, CURLOPT_BUFFERSIZE, long(kBlock));
    curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, &Write);
    curl_easy_setopt(handle, CURLOPT_WRITEDATA, &sink);
  }, true, error, [&] { return sink.moved == 0; });
  if (sink.failed && error) *error = QStringLiteral("The file could not be written: %1").arg(target.errorString());
  if (sink.tooLong && error)
    *error =
        QStringLiteral("The server sent more than the %1 bytes it listed for the file.").arg(limit);
  return code == CURLE_OK && !sink.failed && !sink.tooLong;
}

std::unique_ptr<FtpConnection> OpenUploadConnection(InternetSession& session, const QString& host,
                                                    const QString& user, const QString& password, QString* error) {
  auto connection = std::make_unique<FtpConnection>(session, host, user, password);
  if (!connection->logIn(error)) return nullptr;
  return connection;
}
