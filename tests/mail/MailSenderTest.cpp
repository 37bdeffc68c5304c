#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "mail/CMailSender.h"
#include "mail/MailPeer.h"
#include "mail/SocketErrorText.h"
#include "support/FileBytes.h"
#include "support/RequireTool.h"

namespace {

class MailSenderTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_certificates = new QTemporaryDir;
    const QString folder = s_certificates->path() + "/";
    s_madeCertificates =
        MakeCertificate(folder, "trusted") && MakeCertificate(folder, "other", "mail.other.test");
  }
  static void TearDownTestSuite() {
    delete s_certificates;
    s_certificates = nullptr;
  }
  static QString Certificate(const QString& stem) {
    return s_certificates->path() + "/" + stem + ".pem";
  }
  static QString Key(const QString& stem) { return s_certificates->path() + "/" + stem + ".key"; }

  void SetUp() override {
    ASSERT_TRUE(s_madeCertificates);
    m_spool = m_folder.path() + "/";
  }

  // Starts the peer with these options; the server settings point at it.
  void StartPeer(const QStringList& options) {
    ASSERT_TRUE(m_peer.start(QStringList{"--spool", m_spool} + options));
    m_server.host = "127.0.0.1";
    m_server.port = m_peer.port();
  }
  void StartTlsPeer(const QString& stem, const QString& option, const QStringList& more = {}) {
    StartPeer(QStringList{"--cert", Certificate(stem), "--key", Key(stem), option} + more);
  }

  static MailMessage Message(const QString& to = "friend@example.org") {
    return {
        "me@example.com",
        to,
        "Here's some new photos!",
        "Click on the link below to see the photo.\n\nhttp://photos.example.com/view.asp?Id=42\n\n",
        {}};
  }

  // The messages the peer took, in order.
  QList<QByteArray> Delivered() const {
    QList<QByteArray> messages;
    for (int n = 1; QFile::exists(m_spool + QString::number(n) + ".eml"); ++n)
      messages << ReadAll(m_spool + QString::number(n) + ".eml");
    return messages;
  }
  QByteArray Envelope(int n) const { return ReadAll(m_spool + QString::number(n) + ".env"); }

  // What a message composed with the delivered one's date and id would be.
  static QByteArray Recomposed(const MailMessage& message, const QByteArray& delivered) {
    QByteArray date, id;
    for (const QByteArray& line : delivered.split('\n')) {
      if (line.startsWith("Date: ")) date = line.mid(6).trimmed();
      if (line.startsWith("Message-ID: ")) id = line.mid(12).trimmed();
    }
    return ComposeMessage(message,
                          QDateTime::fromString(QString::fromLatin1(date), Qt::RFC2822Date), id);
  }

  QTemporaryDir m_folder;
  QString m_spool;
  MailPeer m_peer;
  MailServer m_server;
  CMailSender m_sender;
  QString m_error;

 private:
  static inline QTemporaryDir* s_certificates = nullptr;
  static inline bool s_madeCertificates = false;
};

TEST_F(MailSenderTest, EachRecipientGetsItsOwnTransactionOnOneConnection) {
  StartPeer({});
  ASSERT_TRUE(m_sender.Connect(m_server, &m_error)) << m_error.toStdString();
  MailMessage message = Message();
  message.subject = QString::fromUtf8("Photos d'été – Ōsaka");
  // Lines a full stop begins, one of them alone, must arrive whole and not end the data.
  message.text = "Look:\n.\n..two\n.hidden\nhttp://photos.example.com/a b.asp?Id=1\n";
  message.html = "<p>Look at <a href=\"http://photos.example.com/view.asp?Id=1\">this</a>.</p>";
  const QStringList recipients{"ann@example.org", "bob@example.net", "cy@example.com"};
  for (const QString& to : recipients) {
    message.to = to;
    ASSERT_TRUE(m_sender.Send(message, &m_error)) << m_error.toStdString();
  }
  m_sender.Quit();
  EXPECT_FALSE(m_sender.connected());

  const QList<QByteArray> delivered = Delivered();
  ASSERT_EQ(delivered.size(), 3);
  for (int i = 0; i < 3; ++i) {
    message.to = recipients[i];
    EXPECT_EQ(Envelope(i + 1), "me@example.com\n" + recipients[i].toUtf8() + "\n");
    EXPECT_EQ(delivered[i], Recomposed(message, delivered[i]));
    EXPECT_TRUE(delivered[i].contains("\r\n.\r\n..two\r\n.hidden\r\n"));
    EXPECT_TRUE(delivered[i].contains("Subject: =?UTF-8?B?"));
  }
}

TEST_F(MailSenderTest, ServerRefusalsComeBackInItsOwnWordsAndNothingIsSent) {
  const struct {
    const char* mode;
    const char* words;
  } cases[] = {
      {"refuse-sender", "553 5.1.8 Sender address rejected: not ours"},
      {"refuse-rcpt", "550 5.1.1 No such user here"},
      {"refuse-data", "554 5.5.1 Error: no valid recipients"},
      {"refuse-end", "552 5.3.4 Message refused by content filter"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mode);
    QTemporaryDir spool;
    MailPeer peer;
    ASSERT_TRUE(peer.start({"--spool", spool.path(), "--mode", c.mode}));
    m_server.host = "127.0.0.1";
    m_server.port = peer.port();
    CMailSender sender;
    ASSERT_TRUE(sender.Connect(m_server, &m_error)) << m_error.toStdString();
    // The transaction is reset, so the next one meets the same refusal, not a muddle.
    for (int attempt = 0; attempt < 2; ++attempt) {
      QString error;
      EXPECT_FALSE(sender.Send(Message(), &error));
      EXPECT_TRUE(error.contains(c.words)) << error.toStdString();
      EXPECT_TRUE(sender.connected());
    }
    sender.Quit();
    EXPECT_FALSE(QFile::exists(spool.path() + "/1.eml"));
  }
}

TEST_F(MailSenderTest, RefusedEhloFallsBackToHeloWhereStartTlsCannotBeHad) {
  StartPeer({"--mode", "refuse-ehlo"});
  ASSERT_TRUE(m_sender.Connect(m_server, &m_error)) << m_error.toStdString();
  ASSERT_TRUE(m_sender.Send(Message(), &m_error)) << m_error.toStdString();
  EXPECT_EQ(Delivered().size(), 1);
  m_server.security = MailServer::Security::StartTls;
  EXPECT_FALSE(m_sender.Connect(m_server, &m_error));
  EXPECT_EQ(m_error, "The mail server 127.0.0.1 does not offer a secure connection (STARTTLS).");
}

TEST_F(MailSenderTest, SilentOrVanishingServersAreGivenUp) {
  m_server.timeoutSeconds = 2;
  {
    MailPeer stalled;
    ASSERT_TRUE(stalled.start({"--spool", m_spool, "--mode", "stall-greeting"}));
    m_server.host = "127.0.0.1";
    m_server.port = stalled.port();
    EXPECT_FALSE(m_sender.Connect(m_server, &m_error));
    EXPECT_EQ(m_error, "The mail server 127.0.0.1 did not answer for 2 seconds.");
    EXPECT_FALSE(m_sender.connected());
  }
  {
    MailPeer stalled;
    ASSERT_TRUE(stalled.start({"--spool", m_spool, "--mode", "stall-end"}));
    m_server.port = stalled.port();
    ASSERT_TRUE(m_sender.Connect(m_server, &m_error)) << m_error.toStdString();
    EXPECT_FALSE(m_sender.Send(Message(), &m_error));
    EXPECT_EQ(m_error, "The mail server 127.0.0.1 did not answer for 2 seconds.");
    EXPECT_FALSE(m_sender.connected());
  }
  {
    MailPeer closing;
    ASSERT_TRUE(closing.start({"--spool", m_spool, "--mode", "close-mid"}));
    m_server.port = closing.port();
    ASSERT_TRUE(m_sender.Connect(m_server, &m_error)) << m_error.toStdString();
    EXPECT_FALSE(m_sender.Send(Message(), &m_error));
    EXPECT_EQ(m_error, "The mail server 127.0.0.1 closed the connection.");
    EXPECT_FALSE(m_sender.connected());
    EXPECT_FALSE(m_sender.Send(Message(), &m_error));
  }
  EXPECT_TRUE(Delivered().isEmpty());
}

TEST_F(MailSenderTest, StopCheckEndsAWait) {
  StartPeer({"--mode", "stall-greeting"});
  int asked = 0;
  m_sender.setStopCheck([&] { return ++asked > 3; });
  EXPECT_FALSE(m_sender.Connect(m_server, &m_error));
  EXPECT_EQ(m_error, "The sending was stopped.");
}

TEST_F(MailSenderTest, SocketFailuresUseTheSocketErrorTexts) {
  m_server.host = "no-such-host.invalid";
  EXPECT_FALSE(m_sender.Connect(m_server, &m_error));
  EXPECT_EQ(m_error, SocketErrorText(11001));
  // A port nobody listens on: the peer's, once it is gone.
  int port = 0;
  {
    MailPeer gone;
    ASSERT_TRUE(gone.start({"--spool", m_spool}));
    port = gone.port();
  }
  m_server.host = "127.0.0.1";
  m_server.port = port;
  EXPECT_FALSE(m_sender.Connect(m_server, &m_error));
  EXPECT_EQ(m_error, SocketErrorText(10061));
}

TEST_F(MailSenderTest, StartTlsChecksTheCertificateWhenAskedFor) {
  StartTlsPeer("trusted", "--starttls");
  m_server.security = MailServer::Security::StartTls;
  m_server.caFile = Certificate("trusted");
  ASSERT_TRUE(m_sender.Connect(m_server, &m_error)) << m_error.toStdString();
  ASSERT_TRUE(m_sender.Send(Message(), &m_error)) << m_error.toStdString();
  m_sender.Quit();
  EXPECT_EQ(Delivered().size(), 1);

  m_server.caFile.clear();
  EXPECT_FALSE(m_sender.Connect(m_server, &m_error));
  EXPECT_EQ(m_error,
            "The mail server 127.0.0.1 could not prove who it is: self-signed certificate.");

  // Without the setting the server's offer is taken, unverified: better than plain text.
  m_server.security = MailServer::Security::None;
  EXPECT_TRUE(m_sender.Connect(m_server, &m_error)) << m_error.toStdString();
}

TEST_F(MailSenderTest, CertificateForAnotherNameIsRefused) {
  StartTlsPeer("other", "--tls");
  m_server.security = MailServer::Security::Tls;
  m_server.caFile = Certificate("other");
  EXPECT_FALSE(m_sender.Connect(m_server, &m_error));
  EXPECT_TRUE(m_error.startsWith("The mail server 127.0.0.1 could not prove who it is:"))
      << m_error.toStdString();
}

TEST_F(MailSenderTest, ImplicitTlsWithAuthentication) {
  StartTlsPeer("trusted", "--tls", {"--auth", "alice:s3cret pass"});
  m_server.security = MailServer::Security::Tls;
  m_server.caFile = Certificate("trusted");
  m_server.userName = "alice";
  m_server.password = "s3cret pass";
  ASSERT_TRUE(m_sender.Connect(m_server, &m_error)) << m_error.toStdString();
  ASSERT_TRUE(m_sender.Send(Message(), &m_error)) << m_error.toStdString();
  m_sender.Quit();
  ASSERT_EQ(Delivered().size(), 1);
}

TEST_F(MailSenderTest, AuthPlainAndLoginAndAWrongPassword) {
  for (const char* mechanism : {"PLAIN", "LOGIN"}) {
    SCOPED_TRACE(mechanism);
    MailPeer peer;
    ASSERT_TRUE(
        peer.start({"--spool", m_spool, "--auth", "alice:s3cret", "--auth-only", mechanism}));
    m_server.host = "127.0.0.1";
    m_server.port = peer.port();
    m_server.userName = "alice";
    m_server.password = "s3cret";
    EXPECT_TRUE(m_sender.Connect(m_server, &m_error)) << m_error.toStdString();
    m_server.password = "wrong-secret";
    EXPECT_FALSE(m_sender.Connect(m_server, &m_error));
    EXPECT_TRUE(m_error.startsWith(
        "The mail server 127.0.0.1 did not accept the user name alice and its password:\n535"))
        << m_error.toStdString();
    EXPECT_FALSE(m_error.contains("wrong-secret"));
  }
}

}  // namespace

namespace {

// Exim is stricter than aiosmtpd: a client that speaks out of turn, sends a bare LF or
// a bad command is refused there.
TEST(MailSenderExim, AcceptsTheConversationAndQueuesEachMessage) {
  if (!RequireTool("/usr/sbin/exim4", "exim4-daemon-light")) return;
  QTemporaryDir folder;
  const QString root = folder.path() + "/";
  MailPeer exim;
  ASSERT_TRUE(exim.start({"--folder", root}, "exim_peer.py"));
  MailServer server;
  server.host = "127.0.0.1";
  server.port = exim.port();
  CMailSender sender;
  QString error;
  // It offers STARTTLS with a certificate of its own: taken, unverified, without the setting.
  ASSERT_TRUE(sender.Connect(server, &error)) << error.toStdString();
  MailMessage message{"me@example.com",
                      "ann@example.org",
                      QString::fromUtf8("Photos d'été"),
                      "Look:\n.\n..two\nend\n",
                      {}};
  ASSERT_TRUE(sender.Send(message, &error)) << error.toStdString();
  message.to = "bob@example.net";
  ASSERT_TRUE(sender.Send(message, &error)) << error.toStdString();
  sender.Quit();

  const QStringList bodies = QDir(root + "spool/input").entryList({"*-D"}, QDir::Files, QDir::Name);
  ASSERT_EQ(bodies.size(), 2);
  for (const QString& name : bodies) {
    const QByteArray body = ReadAll(root + "spool/input/" + name);
    EXPECT_TRUE(body.endsWith("\nLook:\n.\n..two\nend\n")) << body.toStdString();
    QString headers = QString::fromUtf8(ReadAll(root + "spool/input/" + name.chopped(1) + "H"));
    EXPECT_TRUE(headers.contains("Subject: =?UTF-8?B?")) << headers.toStdString();
    EXPECT_TRUE(headers.contains("X:TLS") || headers.contains("-tls_cipher"))
        << "not sent over TLS";
  }
  const QByteArray log = ReadAll(root + "mainlog");
  EXPECT_FALSE(log.contains("rejected")) << log.toStdString();
  EXPECT_FALSE(log.contains("synchronization error")) << log.toStdString();
}

}  // namespace
