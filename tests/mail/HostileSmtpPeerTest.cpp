// The mail sender against a server that refuses, stalls, trickles or goes away at one
// step of the conversation: the sending fails in time with a clear message, and nothing
// counts as sent that the server did not take.

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTemporaryDir>

#include "mail/CMailSender.h"
#include "support/FileBytes.h"
#include "support/ScriptPeer.h"

namespace {

constexpr int kTimeoutSeconds = 1;
constexpr qint64 kMarginMs = 2000;

struct Case {
  std::string name;
  QString step;
  QString action;
};

std::vector<Case> Cases() {
  std::vector<Case> cases;
  const char* const steps[] = {"greeting", "EHLO", "HELO", "STARTTLS", "AUTH",
                               "MAIL",     "RCPT", "DATA", "END",      "QUIT"};
  const char* const actions[] = {"refuse4", "refuse5", "stall", "trickle", "close", "reset"};
  for (const char* step : steps)
    for (const char* action : actions)
      cases.push_back({std::string(step) + "_" + action, step, action});
  cases.push_back({"STARTTLS_mute", "STARTTLS", "mute"});
  return cases;
}

// The words that say what went wrong.
QStringList Words(const QString& step, const QString& action) {
  // A refused EHLO is followed by HELO, which the peer takes; but HELO offers no AUTH.
  if (step == "EHLO" && action == "refuse5") return {"neither AUTH PLAIN nor AUTH LOGIN"};
  if (action == "refuse4") return {"451 4.3.0", "421 4.3.2"};
  if (action == "refuse5") return {"554 5.7.1"};
  if (action == "stall" || action == "trickle" || action == "mute") return {"did not answer for"};
  // A reset may come before or after the client's next command reaches the peer.
  return {"closed the connection", "reset", "broken"};
}

class HostileSmtpPeer : public ::testing::TestWithParam<Case> {};

TEST_P(HostileSmtpPeer, SendingEndsInTimeWithAClearFailure) {
  const Case& c = GetParam();
  QTemporaryDir folder;
  const QString log = folder.filePath("peer.log");
  QStringList arguments{"--fault", c.step + ":" + c.action, "--log", log};
  if (c.step == "STARTTLS") arguments << "--starttls";
  ScriptPeer peer;
  ASSERT_TRUE(peer.start(BRIVANE_SOURCE_DIR "tests/mail/hostile_smtp.py", arguments));

  MailServer server;
  server.host = "127.0.0.1";
  server.port = peer.port();
  server.timeoutSeconds = kTimeoutSeconds;
  server.userName = "alice";
  server.password = "s3cret";
  const MailMessage message{
      "me@example.com", "friend@example.org", "Photos", "Look at these.\n", {}};
  CMailSender sender;
  QString error;
  QElapsedTimer clock;
  clock.start();
  const bool sent = sender.Connect(server, &error) && sender.Send(message, &error);
  sender.Quit();
  const qint64 elapsed = clock.elapsed();
  // A refused step is followed by RSET, which the peer may leave unanswered as well.
  const qint64 limit = 2 * kTimeoutSeconds * 1000 + kMarginMs;
  std::cout << "[ timing   ] " << c.name << ": " << elapsed << " ms (limit " << limit << " ms)"
            << std::endl;
  EXPECT_LE(elapsed, limit);
  EXPECT_FALSE(sender.connected());

  const QString received = QString::fromUtf8(ReadAll(log));
  if (c.step == "QUIT") {
    // The message was taken before the peer turned hostile: that is a sending done.
    EXPECT_TRUE(sent) << error.toStdString();
    EXPECT_TRUE(received.contains("delivered"));
    return;
  }
  EXPECT_FALSE(sent) << "reported sent against a peer that failed it";
  EXPECT_FALSE(received.contains("delivered"));
  const QStringList words = Words(c.step, c.action);
  EXPECT_TRUE(std::any_of(words.begin(), words.end(), [&](const QString& w) {
    return error.contains(w);
  })) << error.toStdString();
  EXPECT_FALSE(error.contains("s3cret"));
}

// CTest names each case by this.
void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }

INSTANTIATE_TEST_SUITE_P(HostilePeers, HostileSmtpPeer, ::testing::ValuesIn(Cases()));

}  // namespace
