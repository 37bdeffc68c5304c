#include "CMailSender.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>

#include "SocketErrorText.h"

namespace {

constexpr qsizetype kCommandLimit = 1535;
constexpr int kStopPollMs = 100;

// TLS writes go through write(), which raises SIGPIPE when the server has gone; the
// signal is held back for the call and a SIGPIPE it caused is taken away.
class SigPipeBlock {
 public:
  SigPipeBlock() {
    sigemptyset(&m_pipe);
    sigaddset(&m_pipe, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &m_pipe, &m_old);
    sigset_t pending;
    sigpending(&pending);
    m_wasPending = sigismember(&pending, SIGPIPE) == 1;
  }
  ~SigPipeBlock() {
    sigset_t pending;
    sigpending(&pending);
    if (!m_wasPending && sigismember(&pending, SIGPIPE) == 1) {
      const timespec zero{};
      sigtimedwait(&m_pipe, nullptr, &zero);
    }
    pthread_sigmask(SIG_SETMASK, &m_old, nullptr);
  }
  SigPipeBlock(const SigPipeBlock&) = delete;
  SigPipeBlock& operator=(const SigPipeBlock&) = delete;

 private:
  sigset_t m_pipe;
  sigset_t m_old;
  bool m_wasPending = false;
};

QString OpenSslReason() {
  const unsigned long code = ERR_peek_last_error();
  const char* reason = code ? ERR_reason_error_string(code) : nullptr;
  return reason ? QString::fromLatin1(reason) : QStringLiteral("the connection ended");
}

bool IsUnexpectedEof() {
  const unsigned long code = ERR_peek_last_error();
  return code && ERR_GET_LIB(code) == ERR_LIB_SSL &&
         ERR_GET_REASON(code) == SSL_R_UNEXPECTED_EOF_WHILE_READING;
}

}  // namespace

CMailSender::CMailSender() = default;

CMailSender::~CMailSender() { close(); }

void CMailSender::setStopCheck(std::function<bool()> stop) { m_stop = std::move(stop); }

bool CMailSender::connected() const { return m_connected; }

QString CMailSender::computerName() {
  char name[256] = {};
  gethostname(name, sizeof name - 1);
  QString result = QString::fromLatin1(name).left(15);
  // EHLO wants a domain name: keep what is one, end without a dot or hyphen.
  for (QChar c : result)
    if (!c.isLetterOrNumber() && c != u'-' && c != u'.') return QStringLiteral("localhost");
  while (result.endsWith(u'.') || result.endsWith(u'-')) result.chop(1);
  return result.isEmpty() ? QStringLiteral("localhost") : result;
}

bool CMailSender::Connect(const MailServer& server, QString* error) {
  close();
  m_server = server;
  m_server.host = server.host.trimmed();
  if (m_server.port <= 0) m_server.port = server.security == MailServer::Security::Tls ? 465 : 25;
  if (m_server.timeoutSeconds <= 0) m_server.timeoutSeconds = 30;
  if (m_server.host.isEmpty()) {
    *error = QStringLiteral("No mail server is set.");
    return false;
  }
  for (QChar c : m_server.host)
    if (c.isSpace() || c.unicode() < 0x20 || c == u'/') {
      *error = QStringLiteral("%1 is not the name of a mail server.").arg(m_server.host);
      return false;
    }
  const bool ok = [&] {
    if (!connectSocket(error)) return false;
    if (m_server.security == MailServer::Security::Tls && !startTls(true, error)) return false;
    Reply reply;
    if (!readReply(&reply, error)) return false;
    if (reply.code != 220) {
      *error = refusal(
          QStringLiteral("The mail server %1 refused the connection").arg(m_server.host), reply);
      return false;
    }
    if (!hello(error)) return false;
    const bool offered = m_extensions.contains(QLatin1String("STARTTLS"));
    const bool required = m_server.security == MailServer::Security::StartTls;
    if (!m_ssl && (offered || required)) {
      if (!offered) {
        *error = QStringLiteral("The mail server %1 does not offer a secure connection (STARTTLS).")
                     .arg(m_server.host);
        return false;
      }
      if (!command("STARTTLS", &reply, error)) return false;
      if (reply.code != 220) {
        *error = refusal(QStringLiteral("The mail server %1 refused STARTTLS").arg(m_server.host),
                         reply);
        return false;
      }
      // Bytes sent before the handshake would be taken for the secure server's words.
      if (m_replies.hasPending()) {
        *error =
            QStringLiteral("The mail server %1 sent data before the secure connection started.")
                .arg(m_server.host);
        return false;
      }
      // Without the STARTTLS setting it is opportunistic: better than plain, unverified.
      if (!startTls(required, error) || !hello(error)) return false;
    }
    return m_server.userName.isEmpty() || authenticate(error);
  }();
  if (!ok) {
    close();
    return false;
  }
  m_connected = true;
  return true;
}

bool CMailSender::connectSocket(QString* error) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  const int resolved = getaddrinfo(m_server.host.toUtf8().constData(),
                                   QByteArray::number(m_server.port).constData(), &hints, &found);
  if (resolved != 0) {
    *error = SocketErrorText(ResolverErrorCode(resolved));
    return false;
  }
  int lastCode = SocketErrorCode(ECONNREFUSED);
  for (addrinfo* address = found; address && m_socket < 0; address = address->ai_next) {
    const int fd = socket(address->ai_family, address->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC,
                          address->ai_protocol);
    if (fd < 0) {
      lastCode = SocketErrorCode(errno);
      continue;
    }
    m_socket = fd;
    startClock();
    int code = 0;
    if (::connect(fd, address->ai_addr, address->ai_addrlen) != 0) {
      code = SocketErrorCode(errno);
      if (errno == EINPROGRESS) {
        if (!waitFor(Wait::Write, error)) {
          freeaddrinfo(found);
          return false;
        }
        int soError = 0;
        socklen_t length = sizeof soError;
        getsockopt(fd, SOL_SOCKET, SO_ERROR, &soError, &length);
        code = soError ? SocketErrorCode(soError) : 0;
      }
    }
    if (code != 0) {
      lastCode = code;
      ::close(fd);
      m_socket = -1;
    }
  }
  freeaddrinfo(found);
  if (m_socket < 0) {
    *error = SocketErrorText(lastCode);
    return false;
  }
  // Commands are small and each waits for its reply.
  const int one = 1;
  setsockopt(m_socket, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
  return true;
}

bool CMailSender::startTls(bool verify, QString* error) {
  m_context = SSL_CTX_new(TLS_client_method());
  if (!m_context) {
    *error = QStringLiteral("The secure connection could not be set up: %1").arg(OpenSslReason());
    return false;
  }
  SSL_CTX_set_min_proto_version(m_context, TLS1_2_VERSION);
  SSL_CTX_set_verify(m_context, verify ? SSL_VERIFY_PEER : SSL_VERIFY_NONE, nullptr);
  if (verify) {
    SSL_CTX_set_default_verify_paths(m_context);
    if (!m_server.caFile.isEmpty() &&
        SSL_CTX_load_verify_locations(m_context, m_server.caFile.toLocal8Bit().constData(),
                                      nullptr) != 1) {
      *error = QStringLiteral("The certificate file %1 could not be read.").arg(m_server.caFile);
      return false;
    }
  }
  m_ssl = SSL_new(m_context);
  if (!m_ssl || SSL_set_fd(m_ssl, m_socket) != 1) {
    *error = QStringLiteral("The secure connection could not be set up: %1").arg(OpenSslReason());
    return false;
  }
  const QByteArray host = m_server.host.toUtf8();
  unsigned char address[sizeof(in6_addr)];
  const bool isAddress = inet_pton(AF_INET, host.constData(), address) == 1 ||
                         inet_pton(AF_INET6, host.constData(), address) == 1;
  if (isAddress) {
    X509_VERIFY_PARAM_set1_ip_asc(SSL_get0_param(m_ssl), host.constData());
  } else {
    SSL_set_tlsext_host_name(m_ssl, host.constData());
    SSL_set1_host(m_ssl, host.constData());
  }
  startClock();
  SigPipeBlock block;
  for (;;) {
    ERR_clear_error();
    const int result = SSL_connect(m_ssl);
    if (result == 1) return true;
    const int reason = SSL_get_error(m_ssl, result);
    if (reason == SSL_ERROR_WANT_READ || reason == SSL_ERROR_WANT_WRITE) {
      if (!waitFor(reason == SSL_ERROR_WANT_READ ? Wait::Read : Wait::Write, error)) return false;
      continue;
    }
    const long verified = SSL_get_verify_result(m_ssl);
    if (verify && verified != X509_V_OK)
      *error =
          QStringLiteral("The mail server %1 could not prove who it is: %2.")
              .arg(m_server.host, QString::fromLatin1(X509_verify_cert_error_string(verified)));
    else
      *error = QStringLiteral("The secure connection to the mail server %1 failed: %2.")
                   .arg(m_server.host, OpenSslReason());
    return false;
  }
}

bool CMailSender::hello(QString* error) {
  const QByteArray name = computerName().toLatin1();
  Reply reply;
  if (!command("EHLO " + name, &reply, error)) return false;
  m_extensions.clear();
  if (reply.code == 250) {
    for (qsizetype i = 1; i < reply.lines.size(); ++i)
      m_extensions << reply.lines[i].mid(4).trimmed().toUpper();
    return true;
  }
  if (reply.code / 100 == 5) {
    if (!command("HELO " + name, &reply, error)) return false;
    if (reply.code == 250) return true;
  }
  *error =
      refusal(QStringLiteral("The mail server %1 refused the greeting").arg(m_server.host), reply);
  return false;
}

bool CMailSender::authenticate(QString* error) {
  QStringList mechanisms;
  for (const QString& extension : m_extensions)
    if (extension.startsWith(QLatin1String("AUTH ")) ||
        extension.startsWith(QLatin1String("AUTH=")))
      mechanisms += extension.mid(5).split(u' ', Qt::SkipEmptyParts);
  const QByteArray user = m_server.userName.toUtf8();
  const QByteArray password = m_server.password.toUtf8();
  Reply reply;
  if (mechanisms.contains(QLatin1String("PLAIN"))) {
    if (!command("AUTH PLAIN " + (QByteArray(1, '\0') + user + '\0' + password).toBase64(), &reply,
                 error))
      return false;
  } else if (mechanisms.contains(QLatin1String("LOGIN"))) {
    if (!command("AUTH LOGIN", &reply, error)) return false;
    if (reply.code == 334 && !command(user.toBase64(), &reply, error)) return false;
    if (reply.code == 334 && !command(password.toBase64(), &reply, error)) return false;
  } else {
    *error = QStringLiteral(
                 "The mail server %1 does not take a user name and password "
                 "(it offers neither AUTH PLAIN nor AUTH LOGIN).")
                 .arg(m_server.host);
    return false;
  }
  if (reply.code == 235) return true;
  *error =
      refusal(QStringLiteral("The mail server %1 did not accept the user name %2 and its password")
                  .arg(m_server.host, m_server.userName),
              reply);
  return false;
}

bool CMailSender::Send(const MailMessage& message, QString* error) {
  if (!m_connected) {
    *error = QStringLiteral("There is no connection to the mail server.");
    return false;
  }
  if (const QString problem = HeaderProblem(message); !problem.isEmpty()) {
    *error = problem;
    return false;
  }
  Reply reply;
  // A refused step ends the transaction; RSET leaves the connection ready for the next.
  auto refused = [&](const QString& what) {
    *error = refusal(what, reply);
    Reply ignored;
    QString lost;
    if (m_connected) command("RSET", &ignored, &lost);
    return false;
  };
  if (!command("MAIL FROM:<" + message.from.toUtf8() + ">", &reply, error)) return false;
  if (reply.code != 250)
    return refused(QStringLiteral("The mail server %1 refused the sender %2")
                       .arg(m_server.host, message.from));
  if (!command("RCPT TO:<" + message.to.toUtf8() + ">", &reply, error)) return false;
  if (reply.code != 250 && reply.code != 251)
    return refused(QStringLiteral("The mail server %1 refused the recipient %2")
                       .arg(m_server.host, message.to));
  if (!command("DATA", &reply, error)) return false;
  if (reply.code != 354)
    return refused(QStringLiteral("The mail server %1 refused the message to %2")
                       .arg(m_server.host, message.to));
  if (!writeAll(DataTransfer(ComposeMessage(message)), error) || !readReply(&reply, error)) {
    close();
    return false;
  }
  if (reply.code != 250)
    return refused(QStringLiteral("The mail server %1 refused the message to %2")
                       .arg(m_server.host, message.to));
  return true;
}

void CMailSender::Quit() {
  if (m_connected) {
    Reply reply;
    QString ignored;
    command("QUIT", &reply, &ignored);
  }
  close();
}

bool CMailSender::command(const QByteArray& line, Reply* reply, QString* error) {
  if (m_stop && m_stop()) {
    *error = QStringLiteral("The sending was stopped.");
    close();
    return false;
  }
  if (line.size() > kCommandLimit || line.contains('\r') || line.contains('\n')) {
    *error = QStringLiteral("A command for the mail server is too long or breaks its line.");
    return false;
  }
  if (!writeAll(line + "\r\n", error) || !readReply(reply, error)) {
    close();
    return false;
  }
  return true;
}

void CMailSender::startClock() {
  m_deadline = std::chrono::steady_clock::now() + std::chrono::seconds(m_server.timeoutSeconds);
}

bool CMailSender::waitFor(Wait what, QString* error) {
  for (;;) {
    if (m_stop && m_stop()) {
      *error = QStringLiteral("The sending was stopped.");
      return false;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        m_deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) {
      const QString wait = m_server.timeoutSeconds == 1
                               ? QStringLiteral("a second")
                               : QStringLiteral("%1 seconds").arg(m_server.timeoutSeconds);
      *error = QStringLiteral("The mail server %1 did not answer for %2.").arg(m_server.host, wait);
      return false;
    }
    pollfd ready{m_socket, short(what == Wait::Read ? POLLIN : POLLOUT), 0};
    const int result = poll(&ready, 1, int(std::min<qint64>(left.count() + 1, kStopPollMs)));
    // An error or hang-up counts as ready: the next read or write reports it.
    if (result > 0) return true;
    if (result < 0 && errno != EINTR) {
      *error = SocketErrorText(SocketErrorCode(errno));
      return false;
    }
  }
}

bool CMailSender::writeAll(const QByteArray& bytes, QString* error) {
  startClock();
  SigPipeBlock block;
  qsizetype done = 0;
  while (done < bytes.size()) {
    if (m_ssl) {
      ERR_clear_error();
      size_t written = 0;
      const int result =
          SSL_write_ex(m_ssl, bytes.constData() + done, size_t(bytes.size() - done), &written);
      if (result == 1) {
        done += qsizetype(written);
        startClock();
        continue;
      }
      const int reason = SSL_get_error(m_ssl, result);
      if (reason == SSL_ERROR_WANT_READ || reason == SSL_ERROR_WANT_WRITE) {
        if (!waitFor(reason == SSL_ERROR_WANT_READ ? Wait::Read : Wait::Write, error)) return false;
        continue;
      }
      *error = reason == SSL_ERROR_SYSCALL && errno != 0
                   ? SocketErrorText(SocketErrorCode(errno))
                   : QStringLiteral("The secure connection to the mail server %1 failed: %2.")
                         .arg(m_server.host, OpenSslReason());
      return false;
    }
    const ssize_t sent =
        ::send(m_socket, bytes.constData() + done, size_t(bytes.size() - done), MSG_NOSIGNAL);
    if (sent >= 0) {
      done += sent;
      startClock();
    } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
      if (!waitFor(Wait::Write, error)) return false;
    } else if (errno != EINTR) {
      *error = errno == EPIPE
                   ? QStringLiteral("The mail server %1 closed the connection.").arg(m_server.host)
                   : SocketErrorText(SocketErrorCode(errno));
      return false;
    }
  }
  return true;
}

bool CMailSender::readMore(QString* error) {
  const QString closed =
      QStringLiteral("The mail server %1 closed the connection.").arg(m_server.host);
  char buffer[4096];
  for (;;) {
    if (m_ssl) {
      ERR_clear_error();
      size_t got = 0;
      const int result = SSL_read_ex(m_ssl, buffer, sizeof buffer, &got);
      if (result == 1) {
        m_replies.append(QByteArray(buffer, qsizetype(got)));
        return true;
      }
      const int reason = SSL_get_error(m_ssl, result);
      if (reason == SSL_ERROR_WANT_READ || reason == SSL_ERROR_WANT_WRITE) {
        if (!waitFor(reason == SSL_ERROR_WANT_READ ? Wait::Read : Wait::Write, error)) return false;
        continue;
      }
      if (reason == SSL_ERROR_ZERO_RETURN || IsUnexpectedEof() ||
          (reason == SSL_ERROR_SYSCALL && errno == 0))
        *error = closed;
      else if (reason == SSL_ERROR_SYSCALL)
        *error = SocketErrorText(SocketErrorCode(errno));
      else
        *error = QStringLiteral("The secure connection to the mail server %1 failed: %2.")
                     .arg(m_server.host, OpenSslReason());
      return false;
    }
    const ssize_t got = ::recv(m_socket, buffer, sizeof buffer, 0);
    if (got > 0) {
      m_replies.append(QByteArray(buffer, qsizetype(got)));
      return true;
    }
    if (got == 0) {
      *error = closed;
      return false;
    }
    if (errno == EAGAIN || errno == EWOULDBLOCK) {
      if (!waitFor(Wait::Read, error)) return false;
    } else if (errno != EINTR) {
      *error = SocketErrorText(SocketErrorCode(errno));
      return false;
    }
  }
}

bool CMailSender::readReply(Reply* reply, QString* error) {
  startClock();
  for (;;) {
    QString line;
    switch (m_replies.take(reply, &line)) {
      case SmtpReplyReader::Result::Complete:
        return true;
      case SmtpReplyReader::Result::NeedMore:
        if (!readMore(error)) return false;
        break;
      case SmtpReplyReader::Result::TooLong:
        *error = QStringLiteral("The mail server %1 sent a reply too long to be one.").arg(m_server.host);
        return false;
      case SmtpReplyReader::Result::Unknown:
        *error = QStringLiteral("The mail server %1 gave an answer that SMTP does not know: %2")
                     .arg(m_server.host, line);
        return false;
    }
  }
}

QString CMailSender::refusal(const QString& what, const Reply& reply) const {
  return what + QStringLiteral(":\n") + reply.text();
}

void CMailSender::close() {
  if (m_ssl) {
    SigPipeBlock block;
    // One try at a polite close; the socket does not wait for the answer.
    if (m_connected) SSL_shutdown(m_ssl);
    SSL_free(m_ssl);
    m_ssl = nullptr;
  }
  if (m_context) {
    SSL_CTX_free(m_context);
    m_context = nullptr;
  }
  ERR_clear_error();
  if (m_socket >= 0) ::close(m_socket);
  m_socket = -1;
  m_replies.clear();
  m_extensions.clear();
  m_connected = false;
}
