#pragma once

#include <chrono>
#include <functional>

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "MailMessage.h"
#include "MailServer.h"
#include "SmtpReply.h"

struct ssl_ctx_st;
struct ssl_st;

// The program's own SMTP client: one connection to the user's outgoing server, on which
// each message is one full transaction. Every reply is checked; a refusal comes back with
// the server's own words. The password never appears in any message.
class CMailSender {
 public:
  CMailSender();
  // Closes the connection (without QUIT).
  ~CMailSender();
  CMailSender(const CMailSender&) = delete;
  CMailSender& operator=(const CMailSender&) = delete;

  // Connects, reads the greeting, says EHLO (HELO when EHLO is refused), STARTTLS when
  // the server offers it or the security asks for it, implicit TLS for Tls, AUTH PLAIN or
  // LOGIN when a user name is set. False with the reason in error.
  bool Connect(const MailServer& server, QString* error);
  // One transaction, MAIL FROM to the end of the data.
  bool Send(const MailMessage& message, QString* error);
  // Says QUIT and closes; the connection is gone in any case.
  void Quit();
  // Asked at least every 100 ms while waiting; true ends the conversation with
  // "The sending was stopped."
  void setStopCheck(std::function<bool()> stop);
  bool connected() const;

  // The name this computer gives in EHLO/HELO: the host name, at most 15 characters.
  static QString computerName();

 private:
  using Reply = SmtpReply;
  enum class Wait { Read, Write };

  bool connectSocket(QString* error);
  bool startTls(bool verify, QString* error);
  bool hello(QString* error);
  bool authenticate(QString* error);
  // Sends one line (CR LF added) and reads the reply; false on a transport failure.
  bool command(const QByteArray& line, Reply* reply, QString* error);
  bool writeAll(const QByteArray& bytes, QString* error);
  bool readReply(Reply* reply, QString* error);
  bool readMore(QString* error);
  // Waits until the socket is ready or the time is up, asking the stop check.
  bool waitFor(Wait what, QString* error);
  void startClock();
  // A refusal: the server's words after what was refused.
  QString refusal(const QString& what, const Reply& reply) const;
  void close();

  MailServer m_server;
  int m_socket = -1;
  ssl_ctx_st* m_context = nullptr;
  ssl_st* m_ssl = nullptr;
  SmtpReplyReader m_replies;
  QStringList m_extensions;
  std::function<bool()> m_stop;
  std::chrono::steady_clock::time_point m_deadline;
  bool m_connected = false;
};
